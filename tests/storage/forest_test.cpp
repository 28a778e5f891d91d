// The note forest: shape changes, levels, pre-order walks and the
// notifications a view model relies on.
#include "storage/note_forest.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace vlr;

namespace {
struct Recorder : ForestObserver {
    QStringList events;
    void nodesAboutToBeInserted(TTreeNode*, int first, int last) override {
        events << (first == last ? QStringLiteral("+%1").arg(first)
                                 : QStringLiteral("+%1..%2").arg(first).arg(last));
    }
    void nodeRemoved(TTreeNode*, int row) override { events << QStringLiteral("-%1").arg(row); }
    void nodeMoved(TTreeNode* n) override { events << QStringLiteral("m%1").arg(n->Text()); }
    void nodeChanged(TTreeNode* n) override { events << QStringLiteral("c%1").arg(n->Text()); }
    void forestAboutToBeReset() override { events << QStringLiteral("reset<"); }
    void forestReset() override { events << QStringLiteral("reset>"); }
};

QString preorder(TTreeNode* root) {
    QStringList names;
    ForEachDescendant(root,
                      [&](TTreeNode* n) { names << QStringLiteral("%1:%2").arg(n->Text()).arg(n->Level()); });
    return names.join(QLatin1Char(' '));
}
} // namespace

TEST(Forest, ShapeLevelsAndWalks) {
    TNoteForest f;
    TTreeNode* root = f.AddRoot(QStringLiteral("nb"));
    TTreeNode* a = f.AddChild(root, QStringLiteral("a"));
    TTreeNode* b = f.AddChild(root, QStringLiteral("b"));
    TTreeNode* a1 = f.AddChild(a, QStringLiteral("a1"));
    f.Insert(root, 1, QStringLiteral("ab"));
    EXPECT_EQ(preorder(root), QStringLiteral("a:1 a1:2 ab:1 b:1"));
    EXPECT_EQ(a1->Root(), root);
    EXPECT_EQ(a->GetNext(), a1);
    EXPECT_EQ(a1->GetNext()->Text(), QStringLiteral("ab"));
    EXPECT_EQ(b->GetNext(), nullptr); // stays inside its notebook

    f.Move(a, b, 0); // a with its child goes below b
    EXPECT_EQ(preorder(root), QStringLiteral("ab:1 b:1 a:2 a1:3"));
    f.Move(b, a1, 0); // below its own descendant: refused
    EXPECT_EQ(preorder(root), QStringLiteral("ab:1 b:1 a:2 a1:3"));
    f.Remove(a);
    EXPECT_EQ(preorder(root), QStringLiteral("ab:1 b:1"));
}

TEST(Forest, ObserversSeeChangesAndOneResetPerBracket) {
    TNoteForest f;
    Recorder r;
    f.addObserver(&r);
    TTreeNode* root = f.AddRoot(QStringLiteral("nb"));
    TTreeNode* x = f.AddChild(root, QStringLiteral("x"));
    f.SetText(x, QStringLiteral("y"));
    f.SetText(x, QStringLiteral("y")); // no change, no event
    f.BeginUpdate();
    f.AddChild(root, QStringLiteral("z"));
    f.BeginUpdate();
    f.Remove(x);
    f.EndUpdate();
    f.EndUpdate();
    f.removeObserver(&r);
    f.AddChild(root, QStringLiteral("unseen"));
    EXPECT_EQ(r.events.join(QLatin1Char(' ')), QStringLiteral("+0 +0 cy reset< reset>"));
}

TEST(Forest, BatchIsBuiltUnseenAndAttachedWithOneAnnouncement) {
    TNoteForest f;
    Recorder r;
    TTreeNode* root = f.AddRoot(QStringLiteral("nb"));
    f.AddChild(root, QStringLiteral("old"));
    f.addObserver(&r);
    TNodeBatch batch = f.NewBatch();
    TTreeNode* a = f.AddToBatch(batch, nullptr, QStringLiteral("a"));
    TTreeNode* a1 = f.AddToBatch(batch, a, QStringLiteral("a1"));
    f.AddToBatch(batch, nullptr, QStringLiteral("b"));
    f.SetText(a1, QStringLiteral("a2")); // not attached: nobody hears it
    f.SetExpanded(a, true);
    EXPECT_FALSE(a->Attached());
    EXPECT_EQ(a->Parent(), nullptr);
    f.Attach(std::move(batch), root, 1);
    EXPECT_TRUE(a1->Attached());
    EXPECT_EQ(a->Parent(), root);
    EXPECT_EQ(root->Parent(), nullptr);
    EXPECT_TRUE(a->Expanded());
    EXPECT_EQ(preorder(root), QStringLiteral("old:1 a:1 a2:2 b:1"));
    EXPECT_EQ(a->Index(), 1);
    EXPECT_EQ(r.events.join(QLatin1Char(' ')), QStringLiteral("+1..2"));

    // Attached below a note, levels follow the new place.
    TNodeBatch deeper = f.NewBatch();
    TTreeNode* c = f.AddToBatch(deeper, nullptr, QStringLiteral("c"));
    f.AddToBatch(deeper, c, QStringLiteral("c1"));
    f.Attach(std::move(deeper), a1, 0);
    EXPECT_EQ(preorder(root), QStringLiteral("old:1 a:1 a2:2 c:3 c1:4 b:1"));
    f.SetCut(c, true);
    EXPECT_EQ(r.events.last(), QStringLiteral("cc"));
    f.removeObserver(&r);
}

TEST(Forest, RowsStayRightAfterInsertsRemovesAndMoves) {
    TNoteForest f;
    TTreeNode* root = f.AddRoot(QStringLiteral("nb"));
    TTreeNode* other = f.AddChild(root, QStringLiteral("other"));
    std::vector<TTreeNode*> kids;
    for (int i = 0; i < 6; ++i)
        kids.push_back(f.AddChild(root, QString::number(i)));
    f.Insert(root, 2, QStringLiteral("in"));
    f.Remove(kids[3]);
    f.Move(kids[0], root, 6);
    f.Move(kids[4], other, 0);
    f.Move(kids[5], root, 0);
    for (TTreeNode* holder : {root, other})
        for (int i = 0; i < holder->Count(); ++i)
            EXPECT_EQ(holder->Child(i)->Index(), i) << holder->Child(i)->Text().toStdString();
    EXPECT_EQ(preorder(root), QStringLiteral("5:1 other:1 4:2 in:1 1:1 2:1 0:1"));
}
