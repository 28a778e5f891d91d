// Protected text changes only with the consent of OnProtectChange.
#include "editor_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QMouseEvent>

using namespace vlr;
using namespace vlr::test;

namespace {

class ProtectionTest : public EditorTest {
public:
    ProtectionTest() {
        // "open " 0..5, "LOCKED" 5..11 protected, " free" 11..16
        load("open \\protect LOCKED\\protect0  free");
        edit.OnProtectChange = [this](TMyCustomRichEdit*, int start, int end, bool& allow) {
            asked.append({start, end});
            allow = allowAll;
        };
    }
    QList<QPair<int, int>> asked;
    bool allowAll = false;
};

const QString kOriginal = QStringLiteral("open LOCKED free");

} // namespace

TEST_F(ProtectionTest, EveryKindOfEditAsksAndIsRefused) {
    struct Case {
        const char* name;
        int selStart, selEnd;
        std::function<void(ProtectionTest*)> edit;
    };
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    const QList<Case> cases = {
        {"typing inside", 7, 7, [](ProtectionTest* t) { t->type("x"); }},
        {"typing over a selection", 3, 7, [](ProtectionTest* t) { t->type("x"); }},
        {"delete", 5, 5, [](ProtectionTest* t) { t->key(Qt::Key_Delete); }},
        {"backspace", 11, 11, [](ProtectionTest* t) { t->key(Qt::Key_Backspace); }},
        {"enter", 8, 8, [](ProtectionTest* t) { t->key(Qt::Key_Return); }},
        {"cut", 4, 6, [](ProtectionTest* t) { t->edit.CutToClipboard(); }},
        {"paste", 6, 6, [](ProtectionTest* t) { t->edit.PasteFromClipboard(); }},
        {"replace selection", 0, 16, [](ProtectionTest* t) { t->edit.SetSelText(QStringLiteral("new")); }},
        {"insert", 6, 6, [](ProtectionTest* t) { t->edit.InsertText(QStringLiteral("new")); }},
        {"input method", 6, 6,
         [](ProtectionTest* t) {
             QInputMethodEvent e;
             e.setCommitString(QStringLiteral("ж"));
             QApplication::sendEvent(&t->edit, &e);
         }},
        {"overwrite", 5, 5,
         [](ProtectionTest* t) {
             t->edit.setOverwriteMode(true);
             t->type("x");
             t->edit.setOverwriteMode(false);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        asked.clear();
        select(c.selStart, c.selEnd);
        c.edit(this);
        EXPECT_EQ(edit.Text(), kOriginal);
        EXPECT_EQ(asked.size(), 1);
    }
}

TEST_F(ProtectionTest, TheHandlerMayAllowTheEdit) {
    allowAll = true;
    select(5, 11);
    edit.SetSelText(QStringLiteral("OPEN"));
    EXPECT_EQ(edit.Text(), QStringLiteral("open OPEN free"));
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0], qMakePair(5, 11));
}

TEST_F(ProtectionTest, EditsBesideProtectedTextDoNotAsk) {
    select(2, 2);
    type("x");
    select(15, 16);
    key(Qt::Key_Delete);
    EXPECT_EQ(edit.Text(), QStringLiteral("opxen LOCKED fre"));
    EXPECT_TRUE(asked.isEmpty());
}

TEST_F(ProtectionTest, WithoutAHandlerProtectedTextStays) {
    edit.OnProtectChange = nullptr;
    select(0, 16);
    key(Qt::Key_Delete);
    EXPECT_EQ(edit.Text(), kOriginal);
}

TEST_F(ProtectionTest, DropOntoProtectedTextIsRefused) {
    QMimeData data;
    data.setText(QStringLiteral("dropped"));
    edit.show();
    const QPoint at = edit.GetCharPos(8) + QPoint(1, 2);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::ControlModifier);
    edit.dropEvent(&drop);
    EXPECT_EQ(edit.Text(), kOriginal);
    EXPECT_EQ(asked.size(), 1);
}

TEST_F(ProtectionTest, FormattingProtectedTextAsksToo) {
    select(3, 8);
    edit.SelAttributes().SetStyle(fsBold);
    edit.Paragraph().SetAlignment(TParaAlignment::paCenter);
    edit.SelAttributes().SetProtected(false);
    EXPECT_EQ(asked.size(), 3);
    EXPECT_EQ(edit.SelAttributes().Style(), 0);
    EXPECT_EQ(edit.Paragraph().Alignment(), TParaAlignment::paLeftJustify);
    select(6, 6);
    EXPECT_TRUE(edit.SelAttributes().Protected());
    // Granted, as while the protected effect itself is switched.
    allowAll = true;
    select(3, 8);
    edit.SelAttributes().SetProtected(false);
    EXPECT_FALSE(edit.SelAttributes().Protected());
    // Formatting free text asks nothing.
    asked.clear();
    allowAll = false;
    select(12, 16);
    edit.SelAttributes().SetStyle(fsItalic);
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_EQ(edit.SelAttributes().Style(), fsItalic);
}

TEST_F(ProtectionTest, StreamingIntoProtectedTextChangesNothing) {
    select(4, 7);
    edit.SetStreamMode(smSelection);
    edit.LoadFromBytes(rtfFragment("new"));
    edit.SetStreamMode({});
    EXPECT_EQ(edit.Text(), kOriginal);
    EXPECT_EQ(asked.size(), 1);
    // A whole new text replaces protected text without asking.
    edit.LoadFromBytes(rtfFragment("fresh"));
    EXPECT_EQ(edit.Text(), QStringLiteral("fresh"));
    EXPECT_EQ(asked.size(), 1);
}

TEST_F(ProtectionTest, ProtectedSelectionIsDraggedAsACopyOnly) {
    edit.show();
    select(3, 8);
    const QPoint inside = edit.GetCharPos(6) + QPoint(1, 3);
    auto mouse = [&](QEvent::Type type, Qt::MouseButtons held) {
        QMouseEvent e(type, inside, edit.viewport()->mapToGlobal(inside), Qt::LeftButton, held,
                      Qt::NoModifier);
        QApplication::sendEvent(edit.viewport(), &e);
    };
    mouse(QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_FALSE(edit.textInteractionFlags() & Qt::TextEditable);
    mouse(QEvent::MouseButtonRelease, Qt::NoButton);
    EXPECT_TRUE(edit.textInteractionFlags() & Qt::TextEditable);
    // The free text around stays editable throughout.
    select(12, 14);
    const QPoint free = edit.GetCharPos(13) + QPoint(1, 3);
    QMouseEvent press(QEvent::MouseButtonPress, free, edit.viewport()->mapToGlobal(free), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(edit.viewport(), &press);
    EXPECT_TRUE(edit.textInteractionFlags() & Qt::TextEditable);
}
