#include "platform/ScriptedDialogs.h"
#include "platform/ui/QtDialogService.h"

#include <QCoreApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
// A dialog with one procedure that ends it and one that does not.
struct AskWindow : DialogWindow {
    int answer = 0;
    void Command1_Click(int index) {
        answer = index;
        if (index > 0) Unload();
    }
};
struct OtherWindow : DialogWindow {};
} // namespace

TEST(DialogsTest, PatternExtension) {
    const struct {
        const char* path;
        const char* pattern;
        const char* want;
    } cases[] = {
        {"/a/prog", "*.qrx", "/a/prog.qrx"},
        {"/a/PROG.QRX", "*.qrx", "/a/PROG.QRX"},
        {"/a/prog.fpo", "*.qrx", "/a/prog.fpo.qrx"},
        {"/a/prog", "*", "/a/prog"},
        {"/a/prog", "*.*", "/a/prog"},
        {"/a/prog", "", "/a/prog"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WithPatternExtension(c.path, c.pattern), QString::fromLatin1(c.want))
            << c.path << " " << c.pattern;
}

TEST(DialogsTest, ScriptedServiceRunsTheDialogAndRecordsIt) {
    ScriptedDialogs d;
    d.Script<AskWindow>([](AskWindow& w) {
        EXPECT_TRUE(w.IsShown());
        w.Command1_Click(0); // the dialog stays
        w.Command1_Click(2); // this one ends it
        w.Command1_Click(1); // too late: the view is gone, nothing ends twice
    });
    AskWindow ask;
    OtherWindow other;
    d.ShowModal(ask);
    EXPECT_EQ(ask.answer, 1);
    EXPECT_FALSE(ask.IsShown());
    d.ShowModeless(other);
    EXPECT_TRUE(other.IsShown());
    d.ShowModal(ask);
    ASSERT_EQ(d.shown.size(), 3u);
    EXPECT_EQ(d.shown[0].window, DialogKey<AskWindow>());
    EXPECT_TRUE(d.shown[0].modal && d.shown[0].unloaded);
    EXPECT_EQ(d.shown[1].window, DialogKey<OtherWindow>());
    EXPECT_FALSE(d.shown[1].modal || d.shown[1].unloaded);
    other.Unload();
    EXPECT_TRUE(d.shown[1].unloaded);
    EXPECT_FALSE(other.IsShown());
    EXPECT_EQ(d.ShownCount<AskWindow>(), 2);

    // File dialogs: each request recorded; the save answer gets the extension; an empty queue
    // cancels.
    const FileDialogRequest req{"Save", "/app/Kestrino/preset", "file program (*.qrx)", "*.qrx"};
    d.fileAnswers = {QStringLiteral("/tmp/x"), std::nullopt};
    EXPECT_EQ(d.SaveFile(req), QStringLiteral("/tmp/x.qrx"));
    EXPECT_EQ(d.OpenFile(req), std::nullopt);
    EXPECT_EQ(d.OpenFile(req), std::nullopt);
    ASSERT_EQ(d.fileRequests.size(), 3u);
    EXPECT_TRUE(d.fileRequests[0].save);
    EXPECT_FALSE(d.fileRequests[2].save);
    EXPECT_EQ(d.fileRequests[2].request, req);
}

TEST(DialogsTest, QtServiceClosesTheViewWhenTheWindowUnloads) {
    QtDialogService d;
    QPointer<QDialog> last;
    d.Register<AskWindow>([&last](AskWindow&, QWidget* parent) {
        last = new QDialog(parent);
        return last.data();
    });
    AskWindow ask;
    // Modal: returns once a procedure has unloaded the window.
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(ask.IsShown());
        ask.Command1_Click(1);
    });
    d.ShowModal(ask);
    EXPECT_FALSE(ask.IsShown());
    EXPECT_TRUE(last.isNull());

    // Modeless: shown until unloaded, then closed and deleted; shown again afresh.
    d.ShowModeless(ask);
    QPointer<QDialog> first = last;
    ASSERT_FALSE(first.isNull());
    EXPECT_TRUE(first->isVisible());
    ask.Unload();
    EXPECT_FALSE(ask.IsShown());
    d.ShowModeless(ask); // before the first view is deleted
    EXPECT_NE(first, last);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(ask.IsShown()); // the late deletion left the new view bound
    ask.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(last.isNull());

    // A class with no view shows nothing and returns.
    OtherWindow other;
    d.ShowModal(other);
    EXPECT_FALSE(other.IsShown());
}
