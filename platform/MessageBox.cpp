#include "platform/MessageBox.h"

#include <cstdio>

namespace {
IMessageBoxService* g_service = nullptr;

HeadlessMessageBoxService& headless() {
    static HeadlessMessageBoxService service;
    return service;
}
}  // namespace

MbResult HeadlessMessageBoxService::show(const CString& text, const CString& caption, MbButtons buttons,
                                         MbIcon icon) {
    // A path's bytes that are not UTF-8 go out as they are, as the file system
    // and a terminal listing of it show them.
    std::fprintf(stderr, "%s: %s\n", caption.toPathBytes().c_str(), text.toPathBytes().c_str());
    std::fflush(stderr);
    switch (buttons) {
        case MbButtons::ok: return MbResult::ok;
        case MbButtons::yesNo: return yesNoAnswer;
        case MbButtons::yesNoCancel: return yesNoCancelAnswer;
    }
    return MbResult::ok;
}

MbResult ScriptedMessageBoxService::show(const CString& text, const CString& caption, MbButtons buttons,
                                         MbIcon icon) {
    shown.push_back({text.toUtf8(), caption.toUtf8(), buttons, icon});
    if (answers.empty()) return fallback;
    MbResult r = answers.front();
    answers.pop_front();
    return r;
}

IMessageBoxService& getMessageBoxService() { return g_service ? *g_service : headless(); }

void setMessageBoxService(IMessageBoxService* service) { g_service = service; }

MbResult showMessageBox(const CString& text, const CString& caption, MbButtons buttons, MbIcon icon) {
    return getMessageBoxService().show(text, caption, buttons, icon);
}
