#include <gtest/gtest.h>

#include "platform/MessageBox.h"

TEST(MessageBox, ScriptedServiceRecordsAndAnswersInOrder) {
    ScriptedMessageBoxService script;
    script.answers = {MbResult::yes, MbResult::cancel};
    ScopedMessageBoxService scope(&script);
    EXPECT_EQ(showMessageBox(u"Save?", u"-_-!", MbButtons::yesNoCancel), MbResult::yes);
    EXPECT_EQ(showMessageBox(u"Again?", u"-_-!", MbButtons::yesNoCancel), MbResult::cancel);
    EXPECT_EQ(showMessageBox(CString::fromUtf8("oops"), CString::fromUtf8("(\xEF\xBC\x9E\xEF\xB9\x8F\xEF\xBC\x9C)")),
              MbResult::ok);
    ASSERT_EQ(script.shown.size(), 3u);
    EXPECT_EQ(script.shown[0].text, "Save?");
    EXPECT_EQ(script.shown[2].caption, "(\xEF\xBC\x9E\xEF\xB9\x8F\xEF\xBC\x9C)");
}

TEST(MessageBox, HeadlessDefaultAnswersWithItsStatedDefaults) {
    HeadlessMessageBoxService headless;
    EXPECT_EQ(headless.show(u"t", u"c", MbButtons::ok, MbIcon::none), MbResult::ok);
    EXPECT_EQ(headless.show(u"t", u"c", MbButtons::yesNo, MbIcon::question), MbResult::no);
    EXPECT_EQ(headless.show(u"t", u"c", MbButtons::yesNoCancel, MbIcon::question), MbResult::cancel);
}
