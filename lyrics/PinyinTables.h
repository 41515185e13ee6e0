#pragma once
// Constant pinyin tables: the symbol lists that the symbol managers cut
// syllables with, the list of valid syllables and the breath symbols.
// Everything here is a compile-time constant (no start-up order to worry
// about) and every comparison is exact and case-sensitive.
#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Halvoren {

using SymbolTable = std::span<const std::string_view>;

// Every final a syllable can end in. "ng" is the syllabic nasal, "r" the
// apical vowel of zhi/chi/shi/ri and "rr" the one of zi/ci/si.
inline constexpr std::array<std::string_view, 26> PinyinFinals{
    "a", "o", "e", "ai", "ei", "ao", "ou", "er", "an", "en", "ang", "ng", "ong",
    "eng", "i", "ian", "ie", "in", "ing", "u", "un", "v", "vn", "ve", "r", "rr"};

// The first 12 finals stand as syllables of their own ...
inline constexpr SymbolTable ZeroInitialSyllables = SymbolTable(PinyinFinals).first(12);
// ... the other 14 only ever follow an initial.
inline constexpr SymbolTable BoundFinals = SymbolTable(PinyinFinals).subspan(12);

// In match order: "zh", "ch", "sh" come before "z", "c", "s" so that the
// first entry a syllable begins with is its initial.
inline constexpr std::array<std::string_view, 23> PinyinInitials{
    "b", "p", "m", "f", "d", "t", "n", "l", "g", "k", "h", "j",
    "q", "x", "zh", "ch", "sh", "z", "c", "s", "r", "y", "w"};

// Onset units that are voiced: the syllables without an initial, the
// sonorant consonants and the two onsets "yi"/"yv" of the initial "y".
inline constexpr std::array<std::string_view, 19> VoicedOnsets{
    "a", "o", "e", "ai", "ei", "ao", "ou", "er", "an", "en",
    "ang", "m", "n", "l", "r", "w", "yv", "yi", "ng"};

// Units a note may carry instead of a syllable.
inline constexpr std::array<std::string_view, 5> BreathSymbols{"br1", "br2", "br3", "br4", "br5"};

// The valid toneless syllables, each followed by ", " (the last one too).
inline constexpr std::string_view BuiltinSyllableList =
    "a, ai, an, ang, ao, ba, bai, ban, bang, bao, bei, ben, beng, bi, bian, "
    "biao, bie, bin, bing, bo, bu, ca, cai, can, cang, cao, ce, cen, ceng, "
    "cha, chai, chan, chang, chao, che, chen, cheng, chi, chong, chou, chu, "
    "chua, chuai, chuan, chuang, chui, chun, chuo, ci, cong, cou, cu, cuan, "
    "cui, cun, cuo, da, dai, dan, dang, dao, de, dei, den, deng, di, dia, "
    "dian, diao, die, ding, diu, dong, dou, du, duan, dui, dun, duo, e, ei, "
    "en, er, fa, fan, fang, fei, fen, feng, fo, fou, fu, ga, gai, gan, gang, "
    "gao, ge, gei, gen, geng, gong, gou, gu, gua, guai, guan, guang, gui, "
    "gun, guo, ha, hai, han, hang, hao, he, hei, hen, heng, hong, hou, hu, "
    "hua, huai, huan, huang, hui, hun, huo, ji, jia, jian, jiang, jiao, jie, "
    "jin, jing, jiong, jiu, ju, juan, jue, jun, ka, kai, kan, kang, kao, ke, "
    "kei, ken, keng, kong, kou, ku, kua, kuai, kuan, kuang, kui, kun, kuo, "
    "la, lai, lan, lang, lao, le, lei, leng, li, lia, lian, liang, liao, "
    "lie, lin, ling, liu, lo, long, lou, lu, luan, lun, luo, lv, lve, ma, "
    "mai, man, mang, mao, me, mei, men, meng, mi, mian, miao, mie, min, "
    "ming, miu, mo, mou, mu, na, nai, nan, nang, nao, ne, nei, nen, neng, "
    "ng, ni, nian, niang, niao, nie, nin, ning, niu, nong, nou, nu, nuan, "
    "nuo, nv, nve, o, ou, pa, pai, pan, pang, pao, pei, pen, peng, pi, pian, "
    "piao, pie, pin, ping, po, pou, pu, qi, qia, qian, qiang, qiao, qie, "
    "qin, qing, qiong, qiu, qu, quan, que, qun, ran, rang, rao, re, ren, "
    "reng, ri, rong, rou, ru, ruan, rui, run, ruo, sa, sai, san, sang, sao, "
    "se, sen, seng, sha, shai, shan, shang, shao, she, shei, shen, sheng, "
    "shi, shou, shu, shua, shuai, shuan, shuang, shui, shun, shuo, si, song, "
    "sou, su, suan, sui, sun, suo, ta, tai, tan, tang, tao, te, teng, ti, "
    "tian, tiao, tie, ting, tong, tou, tu, tuan, tui, tun, tuo, wa, wai, "
    "wan, wang, wei, wen, weng, wo, wu, xi, xia, xian, xiang, xiao, xie, "
    "xin, xing, xiong, xiu, xu, xuan, xue, xun, ya, yan, yang, yao, ye, yi, "
    "yin, ying, yo, yong, you, yu, yuan, yue, yun, za, zai, zan, zang, zao, "
    "ze, zei, zen, zeng, zha, zhai, zhan, zhang, zhao, zhe, zhei, zhen, "
    "zheng, zhi, zhong, zhou, zhu, zhua, zhuai, zhuan, zhuang, zhui, zhun, "
    "zhuo, zi, zong, zou, zu, zuan, zui, zun, zuo, ";

// Whether text equals one entry of the table as a whole.
bool isMember(SymbolTable table, std::string_view text);

// Cuts a list like BuiltinSyllableList at every ", "; the empty rest after
// the last separator is not a piece.
std::vector<std::string> splitSyllableList(std::string_view list);

// The 409 syllables of BuiltinSyllableList, split once on first use.
const std::vector<std::string>& builtinSyllables();

} // namespace Halvoren
