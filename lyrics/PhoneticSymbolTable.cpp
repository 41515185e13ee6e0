#include "lyrics/PhoneticSymbolTable.h"

#include <algorithm>
#include <string_view>

#include "lyrics/PinyinTables.h"

namespace {

// Cantonese syllables (Jyutping) in byte order; each takes tones 1 to 7.
constexpr std::string_view kCantoneseSyllables =
    "aa aai aak aam aan aang aap aat aau ai ak am an ang ap at au baa baai "
    "baak baan baang baat baau bai bak bam ban bang bat bau be bei bek beng "
    "bik bin bing bit biu bo bok bong bou bu bui buk bun bung but caa caai "
    "caak caam caan caang caap caat caau cai cak cam can cang cap cat cau ce "
    "cek ceng ceoi ceon ceot ci cik cim cin cing cip cit ciu co coei coek "
    "coeng coi cok cong cou cuk cun cung cyu cyun cyut daa daai daak daam "
    "daan daang daap daat daau dai dak dam dan dang dap dat dau de dei dek "
    "deng deoi deon deot deu di dik dim din ding dip dit diu do doe doek "
    "doeng doi dok dong dou duk dung dyun dyut e ei eot faa faai faak faan "
    "faat faau fai fan fang fat fau fe fei fik fing fit fiu fo fok fong fu "
    "fui fuk fun fung fut gaa gaai gaak gaam gaan gaang gaap gaat gaau gai "
    "gak gam gan gang gap gat gau ge gei geng geoi gep gi gik gim gin ging "
    "gip git giu go goe goei goek goeng goi gok gon gong got gou gu gui guk "
    "gun gung gut gwaa gwaai gwaak gwaan gwaang gwaat gwai gwan gwang gwat "
    "gwe gwi gwik gwing gwit gwo gwok gwong gwun gyun gyut haa haai haak haam "
    "haan haang haap haat haau hai hak ham han hang hao hap hat hau he hei "
    "hek heng heoi hi him hin hing hip hit hiu hm hng ho hoe hoeng hoi hok "
    "hon hong hot hou huk hung hyun hyut jaa jaai jaak jaang jaap jaau jai "
    "jam jan jap jat jau je jeng jeoi jeon ji jik jim jin jing jip jit jiu jo "
    "joek joeng juk jung jyu jyun jyut kaa kaai kaak kaam kaan kaap kaat kaau "
    "kai kak kam kan kang kap kat kau ke kei kek keoi kep ki kik kim kin king "
    "kip kit kiu ko koe koek koeng koi kok kong ku kui kuk kung kut kwaa "
    "kwaai kwaak kwaan kwaang kwaat kwai kwan kwik kwok kwong kwui kwun kyun "
    "kyut laa laai laak laam laan laang laap laat laau lai lak lam lan lang "
    "lap lat lau le lei lek lem leng leoi leon leot li lik lim lin ling lip "
    "lit liu lo loe loei loek loeng loet loi lok long lou luk lun lung lyun "
    "lyut m maa maai maak maan maang maat maau mai mak mam man mang mat mau "
    "me mei meng mi mik min ming mit miu mo moi mok mong mou mui muk mun mung "
    "mut naa naai naam naan naang naap naat naau nai nak nam nan nang nap nat "
    "nau ne nei neng neoi neot ng ngaa ngaai ngaak ngaam ngaan ngaang ngaap "
    "ngaat ngaau ngai ngak ngam ngan ngang ngap ngat ngau nge ngi ngit ngo "
    "ngoi ngok ngon ngong ngou nguk ngung ni nik nim nin ning nip nit niu no "
    "noei noeng noi nok nong nou nuk nung nyun o oe oi ok om on ong ou paa "
    "paai paak paan paang paat paau pai pak pan pang pat pau pe pei pek peng "
    "pet pik pin ping pit piu po pok pong pou pui puk pun pung put saa saai "
    "saak saam saan saang saap saat saau sai sak sam san sang sap sat sau se "
    "sei sek seng seoi seon seot si sik sim sin sing sip sit siu so soe soek "
    "soeng soet soi sok song sou suk sung syu syun syut taa taai taam taan "
    "taang taap taat taau tai tam tan tang tap tat tau tek teng teoi teon ti "
    "tik tim tin ting tip tit tiu to toe toi tok tong tou tuk tung tyun tyut "
    "uk ung waa waai waak waan waang waat wai wak wan wang wat wau we wen wet "
    "wi wik wing wo wok wong wu wui wun wut zaa zaai zaak zaam zaan zaang "
    "zaap zaat zaau zai zak zam zan zang zap zat zau ze zek zeng zeoi zeon "
    "zeot zi zik zim zin zing zip zit ziu zo zoe zoei zoek zoeng zoi zok zong "
    "zou zui zuk zung zyu zyun zyut ";

constexpr int kCantoneseTones = 7;
constexpr int kPinyinTones = 6;

// Pinyin symbol bases beyond the valid syllable list: the bare "eng", "nia",
// the erhua "r" (neutral tone only) and "rua".
constexpr std::array<std::string_view, 4> kExtraPinyinBases{"eng", "nia", "r", "rua"};

// Association values of the hash: indexed by a byte plus 0, 1 or 8.
const std::array<std::uint16_t, 264>& associationValues() {
    static const std::array<std::uint16_t, 264> values = [] {
        std::array<std::uint16_t, 264> a;
        a.fill(PhoneticSymbolTable::kWordListSize);
        const std::pair<char, std::uint16_t> set[] = {
            {'1', 1300}, {'2', 5},     {'3', 15},    {'4', 0},     {'5', 10},    {'6', 420},
            {'7', 10257}, {'9', 0},    {':', 0},     {';', 0},     {'<', 0},     {'=', 0},
            {'>', 0},    {'a', 3570},  {'b', 80},    {'c', 3797},  {'d', 7262},  {'e', 540},
            {'f', 3640}, {'g', 0},     {'h', 9237},  {'i', 95},    {'j', 1820},  {'k', 10652},
            {'l', 7596}, {'m', 520},   {'n', 40},    {'o', 15},    {'p', 585},   {'q', 200},
            {'r', 7886}, {'s', 2488},  {'t', 11912}, {'u', 180},   {'v', 4241},  {'w', 2392},
            {'x', 8039}, {'y', 11167}, {'z', 3400},  {'}', 1635},  {'~', 535}};
        for (const auto& [ch, value] : set) a[static_cast<unsigned char>(ch)] = value;
        return a;
    }();
    return values;
}

std::vector<std::string> pinyinSymbolBases() {
    std::vector<std::string> bases = Halvoren::builtinSyllables();
    bases.insert(bases.end(), kExtraPinyinBases.begin(), kExtraPinyinBases.end());
    std::sort(bases.begin(), bases.end());
    return bases;
}

}  // namespace

const PhoneticSymbolTable& PhoneticSymbolTable::instance() {
    static const PhoneticSymbolTable table;
    return table;
}

PhoneticSymbolTable::PhoneticSymbolTable() : words_(kWordListSize) {
    texts_.reserve(kFirstPinyinCode + kPinyinCount);
    size_t start = 0;
    while (start < kCantoneseSyllables.size()) {
        size_t end = kCantoneseSyllables.find(' ', start);
        std::string base(kCantoneseSyllables.substr(start, end - start));
        for (int tone = 1; tone <= kCantoneseTones; ++tone)
            texts_.push_back(base + std::to_string(tone));
        start = end + 1;
    }
    for (const std::string& base : pinyinSymbolBases()) {
        if (base == "r") {
            texts_.push_back("r5");
            continue;
        }
        for (int tone = 1; tone <= kPinyinTones; ++tone) {
            texts_.push_back(base + std::to_string(tone));
            // "shen2me5" (the word shenme as one symbol) sits between shen1 and shen2.
            if (base == "shen" && tone == 1) texts_.push_back("shen2me5");
        }
    }
    for (size_t code = 0; code < texts_.size(); ++code) slots_[code].text = texts_[code].c_str();
    for (size_t code = kFirstPinyinCode; code < texts_.size(); ++code) {
        const std::string& text = texts_[code];
        SymbolHashEntry& entry = words_[hashSymbol(text.c_str(), static_cast<unsigned>(text.size()))];
        entry.text = text.c_str();
        entry.code = static_cast<std::uint16_t>(code);
    }
}

int PhoneticSymbolTable::codeOf(const SymbolSlot* slot) const {
    if (slot < slots_.data() || slot >= slots_.data() + kSize) return -1;
    return static_cast<int>(slot - slots_.data());
}

unsigned hashSymbol(const char* text, unsigned len) {
    if (len == 0) return 0;
    const auto& a = associationValues();
    auto byte = [text](unsigned i) { return static_cast<unsigned char>(text[i]); };
    unsigned h = len;
    if (len >= 5) h += a[byte(4)];
    if (len >= 4) h += a[byte(3)];
    if (len >= 3) h += a[byte(2) + 1];
    if (len >= 2) h += a[byte(1) + 8];
    return h + a[byte(len - 1)] + a[byte(0)];
}

const SymbolHashEntry* lookupSymbol(const char* text, unsigned len) {
    if (len < 2 || len > 8) return nullptr;
    const unsigned k = hashSymbol(text, len);
    if (k >= PhoneticSymbolTable::kWordListSize) return nullptr;
    const SymbolHashEntry& entry = PhoneticSymbolTable::instance().wordAt(k);
    return std::string_view(text, len) == entry.text ? &entry : nullptr;
}
