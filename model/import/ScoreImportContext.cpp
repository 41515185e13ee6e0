#include "model/import/ScoreImportContext.h"

#include "shell/services/AppConfig.h"
#include "voicebank/SingerMgr.h"

ScoreImportContext ScoreImportContext::fromSettings()
{
    ScoreImportContext context;
    context.defaultSymbol = getAppConfig().defaultSymbol;
    context.singerName = getDefaultSingerName();
    context.lyricDict = findSingerLyricDict(context.singerName);
    return context;
}

ILyricDict* findSingerLyricDict(const std::string& singerName)
{
    ISinger* singer = getSingerList()->findSinger(singerName);
    return singer && singer->hasLyricDict() ? singer->getLyricDict() : nullptr;
}
