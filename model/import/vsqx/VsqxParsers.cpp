#include <tinyxml.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <limits>

#include "lyrics/ILyricDict.h"
#include "model/current/Track.h"
#include "model/import/ClampToInt32.h"
#include "model/import/vsqx/CVsqxParser.h"
#include "platform/StringUtil.h"
#include "platform/TextConvert.h"

using namespace HVCurrentModel;

namespace {

const VsqxElementNames kVsq3Names{
    "masterTrack", "preMeasure", "timeSig", "posMes", "nume", "denomi", "tempo", "posTick", "bpm",
    "vsTrack", "trackName", "musicalPart", "partName", "posTick", "playTime", "note", "posTick", "durTick",
    "lyric", "noteNum", "seTrack", "karaokeTrack", "wavPart", "posTick", "partName", "filePath"};

const VsqxElementNames kVsq4Names{
    "masterTrack", "preMeasure", "timeSig", "m", "nu", "de", "tempo", "t", "v",
    "vsTrack", "name", "vsPart", "name", "t", "playTime", "note", "t", "dur",
    "y", "n", "monoTrack", "stTrack", "wavPart", "t", "name", "filePath"};

// The bytes of the text of the first child element of that name; empty
// when there is none or it holds no text.
std::string childBytes(TiXmlElement* e, const char* name)
{
    TiXmlElement* child = e->FirstChildElement(name);
    const char* text = child ? child->GetText() : nullptr;
    return text ? std::string(text) : std::string();
}

// The same as text: bytes that are not valid UTF-8 are decoded as the MIDI
// texts are, so the model's texts are always UTF-8.
std::string childText(TiXmlElement* e, const char* name) { return ansiToUtf8(childBytes(e, name)); }

// An optional sign and the leading decimal digits, clamped to 32 bits;
// 0 when there are none.
int32_t childNumber(TiXmlElement* e, const char* name)
{
    const std::string text = childText(e, name);
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t{1} << 32);
    return clampToInt32(negative ? -value : value);
}

std::vector<TiXmlElement*> childList(TiXmlElement* e, const char* name)
{
    std::vector<TiXmlElement*> out;
    for (TiXmlElement* c = e->FirstChildElement(name); c; c = c->NextSiblingElement(name)) out.push_back(c);
    return out;
}

}  // namespace

TiXmlElement* VsqxNamedParser::getMasterTrack(TiXmlElement* root) { return root->FirstChildElement(n_.masterTrack); }

int VsqxNamedParser::getPreMeasure(TiXmlElement* master) { return childNumber(master, n_.preMeasure); }

std::vector<TiXmlElement*> VsqxNamedParser::getTimeSigs(TiXmlElement* master) { return childList(master, n_.timeSig); }

void VsqxNamedParser::readTimeSig(TiXmlElement* e, Beat* beat)
{
    beat->pos = clampToInt32(int64_t{childNumber(e, n_.timeSigMeasure)} - 3);
    beat->numerator = childNumber(e, n_.numerator);
    beat->denominator = childNumber(e, n_.denominator);
}

std::vector<TiXmlElement*> VsqxNamedParser::getTempos(TiXmlElement* master) { return childList(master, n_.tempo); }

void VsqxNamedParser::readTempo(TiXmlElement* e, Tempo* tempo)
{
    tempo->pos = childNumber(e, n_.tempoTick);
    tempo->tempo = childNumber(e, n_.tempoValue);
}

std::vector<TiXmlElement*> VsqxNamedParser::getTracks(TiXmlElement* root) { return childList(root, n_.track); }

void VsqxNamedParser::readTrackName(TiXmlElement* e, Track* track) { track->name = childText(e, n_.trackName); }

std::vector<TiXmlElement*> VsqxNamedParser::getParts(TiXmlElement* track) { return childList(track, n_.part); }

void VsqxNamedParser::readPart(TiXmlElement* e, SingSegment* seg)
{
    seg->name = childText(e, n_.partName);
    seg->pos = childNumber(e, n_.partTick);
    seg->width = childNumber(e, n_.playTime);
}

std::vector<TiXmlElement*> VsqxNamedParser::getNotes(TiXmlElement* part) { return childList(part, n_.note); }

void VsqxNamedParser::readNote(TiXmlElement* e, Note* note, ILyricDict* dict)
{
    note->pos = childNumber(e, n_.noteTick);
    note->width = childNumber(e, n_.noteDuration);
    note->lyric = childText(e, n_.lyric);
    note->key = clampToInt32(115 - int64_t{childNumber(e, n_.noteNumber)});
    if (dict) {
        std::vector<std::string> words, symbols;
        dict->lookup(note->lyric, words, symbols);
        if (!symbols.empty()) {
            note->phoneticSymbol = symbols.front();
            return;
        }
    }
    note->lyric = toLowerAscii(note->lyric);
    note->phoneticSymbol = note->lyric;
}

TiXmlElement* VsqxNamedParser::getMonoTrack(TiXmlElement* root) { return root->FirstChildElement(n_.monoTrack); }

TiXmlElement* VsqxNamedParser::getStereoTrack(TiXmlElement* root) { return root->FirstChildElement(n_.stereoTrack); }

std::vector<TiXmlElement*> VsqxNamedParser::getWavParts(TiXmlElement* track) { return childList(track, n_.wavPart); }

CString VsqxNamedParser::resolveAudioPath(const CString& filePath) const
{
    // A path with a folder (stored paths may use either separator) is kept.
    for (int i = 1; i < filePath.getLength(); ++i)
        if (filePath.at(i) == u'\\' || filePath.at(i) == u'/') return filePath;
    const int dot = basePath.reverseFind(u'.');
    if (dot < 1) return basePath;
    return basePath.left(dot + 1) + u"wavparts/" + filePath;
}

void VsqxNamedParser::readWavPart(TiXmlElement* e, InstrumentSegment* seg)
{
    seg->pos = childNumber(e, n_.wavTick);
    seg->width = childNumber(e, n_.playTime);
    seg->name = childText(e, n_.wavName);
    // The path keeps its bytes, also where they are not UTF-8, as does the
    // score's own path it may be resolved against.
    seg->audioPath = resolveAudioPath(CString::fromPathBytes(childBytes(e, n_.filePath))).toPathBytes();
    seg->loadAudio(CString(), clips);
}

CVsqx3parser::CVsqx3parser() : VsqxNamedParser(kVsq3Names) {}

CVsqx4parser::CVsqx4parser() : VsqxNamedParser(kVsq4Names) {}
