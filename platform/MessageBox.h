#pragma once
// Message boxes. The program runs without windows here: the service in force
// decides how a message is shown and which answer comes back. The default
// writes the message to standard error and answers with a stated default;
// tests install a scripted service.
#include <deque>
#include <string>
#include <vector>

#include "platform/CString.h"

enum class MbButtons { ok, yesNo, yesNoCancel };
enum class MbIcon { none, information, warning, error, question };
enum class MbResult { ok, yes, no, cancel };

class IMessageBoxService {
public:
    virtual ~IMessageBoxService() = default;
    virtual MbResult show(const CString& text, const CString& caption, MbButtons buttons, MbIcon icon) = 0;
};

// Writes "caption: text" to standard error; OK boxes answer ok, questions the
// answer given for their button set.
class HeadlessMessageBoxService : public IMessageBoxService {
public:
    MbResult yesNoAnswer = MbResult::no;
    MbResult yesNoCancelAnswer = MbResult::cancel;
    MbResult show(const CString& text, const CString& caption, MbButtons buttons, MbIcon icon) override;
};

// For tests: records every box shown and answers from a queue (ok, or the
// fallback answer when the queue is empty).
class ScriptedMessageBoxService : public IMessageBoxService {
public:
    struct Shown {
        std::string text;
        std::string caption;
        MbButtons buttons;
        MbIcon icon;
    };
    std::vector<Shown> shown;
    std::deque<MbResult> answers;
    MbResult fallback = MbResult::ok;
    MbResult show(const CString& text, const CString& caption, MbButtons buttons, MbIcon icon) override;
};

// The service in force; null restores the headless default.
IMessageBoxService& getMessageBoxService();
void setMessageBoxService(IMessageBoxService* service);

MbResult showMessageBox(const CString& text, const CString& caption, MbButtons buttons = MbButtons::ok,
                        MbIcon icon = MbIcon::none);

// Installs a service for the lifetime of a scope (tests).
class ScopedMessageBoxService {
public:
    explicit ScopedMessageBoxService(IMessageBoxService* service) { setMessageBoxService(service); }
    ~ScopedMessageBoxService() { setMessageBoxService(nullptr); }
    ScopedMessageBoxService(const ScopedMessageBoxService&) = delete;
    ScopedMessageBoxService& operator=(const ScopedMessageBoxService&) = delete;
};
