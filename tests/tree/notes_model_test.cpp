// The notes model under Qt's model checker while the notebook service opens,
// changes and closes notebooks; and the view keeping up with it.
#include "tree/notes_model.h"
#include "tree_fixture.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

using namespace vlr;
using namespace vlr::test;

namespace {

// Collects what the model checker reports.
class CheckerLog {
public:
    CheckerLog() {
        s_log = this;
        m_previous = qInstallMessageHandler(&CheckerLog::handle);
    }
    ~CheckerLog() {
        qInstallMessageHandler(m_previous);
        s_log = nullptr;
    }
    const QStringList& lines() const { return m_lines; }

private:
    static void handle(QtMsgType, const QMessageLogContext& context, const QString& text) {
        if (s_log && context.category && QByteArray(context.category).startsWith("qt.modeltest"))
            s_log->m_lines << text;
    }
    static inline CheckerLog* s_log = nullptr;
    QtMessageHandler m_previous;
    QStringList m_lines;
};

QString shape(const QAbstractItemModel& model, const QModelIndex& parent = {}) {
    QStringList parts;
    for (int r = 0; r < model.rowCount(parent); ++r) {
        const QModelIndex i = model.index(r, 0, parent);
        QString part = i.data().toString();
        if (model.rowCount(i) > 0)
            part += QLatin1Char('(') + shape(model, i) + QLatin1Char(')');
        parts << part;
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace

TEST_F(TreeTest, ModelPassesTheCheckerThroughOpenEditMoveDeleteAndClose) {
    const QString a = writeNotebook(QStringLiteral("A"), {{QStringLiteral("a1"), rtf("x")},
                                                          {QStringLiteral("a11"), rtf("y"), 2},
                                                          {QStringLiteral("a2"), rtf("z")}});
    const QString b = writeNotebook(QStringLiteral("B"), {{QStringLiteral("b1"), rtf("q")}});
    CheckerLog log;
    TNotesModel model(service);
    QAbstractItemModelTester checker(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);

    TNodeRoot* nbA = open(a);
    TNodeRoot* nbB = open(b);
    ASSERT_TRUE(nbA && nbB);
    EXPECT_EQ(shape(model), QStringLiteral("A(a1(a11) a2) B(b1)"));
    // Each notebook: its root, then all its notes in one insertion.
    ASSERT_EQ(inserted.count(), 4);
    EXPECT_EQ(inserted[1][0].value<QModelIndex>(), model.IndexOf(nbA->RootNode));
    EXPECT_EQ(inserted[1][1].toInt(), 0);
    EXPECT_EQ(inserted[1][2].toInt(), 1);

    TNodeData* a3 = service.AddNote(*nbA, node(QStringLiteral("a1")), 0, QStringLiteral("a3"), {}, false);
    service.RenameNote(*a3, QStringLiteral("a3 renamed"));
    service.MoveNote(*node(QStringLiteral("a11"))->Note(), nbA->RootNode, 0);
    service.MoveNote(*node(QStringLiteral("a2"))->Note(), nbA->RootNode, 3); // onto its own place
    EXPECT_EQ(shape(model), QStringLiteral("A(a11 a1(a3 renamed) a2) B(b1)"));

    service.DeleteNote(*node(QStringLiteral("a1"))->Note());
    EXPECT_EQ(shape(model), QStringLiteral("A(a11 a2) B(b1)"));

    // A bracketed bulk change reaches the model as one reset.
    service.Forest().BeginUpdate();
    service.AddNote(*nbB, nullptr, 0, QStringLiteral("b0"), {}, false);
    service.Close(nbA);
    service.Forest().EndUpdate();
    EXPECT_EQ(shape(model), QStringLiteral("B(b0 b1)"));

    service.Close(nbB);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_TRUE(log.lines().isEmpty()) << log.lines().join(QLatin1Char('\n')).toStdString();
}

TEST_F(TreeTest, ModelAnswersForNodesWithoutKeepingAnythingPerNode) {
    const QString a = writeNotebook(QStringLiteral("A"), {{QStringLiteral("n"), rtf("x")}});
    TNotesModel model(service);
    TNodeRoot* nb = open(a);
    ASSERT_TRUE(nb);
    TTreeNode* n = node(QStringLiteral("n"));
    const QModelIndex i = model.IndexOf(n);
    EXPECT_EQ(TNotesModel::NodeOf(i), n);
    EXPECT_EQ(model.parent(i), model.IndexOf(nb->RootNode));
    EXPECT_EQ(model.data(i).toString(), QStringLiteral("n"));
    EXPECT_EQ(model.data(model.IndexOf(nb->RootNode), TNotesModel::ChildCountRole).toInt(), 1);
    EXPECT_TRUE(model.data(i, Qt::DecorationRole).canConvert<QImage>()) << "a note shows its picture";
    // The model is a thin adapter: its size does not grow with the forest.
    EXPECT_LE(sizeof(TNotesModel), sizeof(QAbstractItemModel) + 64);
}

TEST_F(TreeTest, ModelOutlivingItsServiceStaysQuiet) {
    auto own = std::make_unique<TNotebookService>(defaultImages());
    TNotesModel model(*own);
    own->Create(NewNotebookDefaults{});
    EXPECT_EQ(model.rowCount(), 1);
    own.reset();
    EXPECT_EQ(model.rowCount(), 0) << "closing notebooks on the way out is announced";
}

// The view shows the expanded state each node keeps, in both directions.
TEST_F(TreeTest, ViewAndStoredExpandedStateStayInStep) {
    const QString a = writeNotebook(QStringLiteral("A"), {{QStringLiteral("folder"), rtf("x")},
                                                          {QStringLiteral("inner"), rtf("y"), 2},
                                                          {QStringLiteral("leaf"), rtf("z"), 3}});
    {
        // Stored expanded flags, as a previous session left them.
        int result = 0;
        auto book = Book::open(a, &result);
        ASSERT_EQ(result, lrOk);
        book->service.SetExpanded(book->nb->RootNode, true);
        book->service.SetExpanded(book->nb->Notes[0]->TreeNode, true);
        book->nb->Modified = true;
        ASSERT_EQ(book->service.Save(*book->nb), srOk);
    }
    makeTree();
    TNodeRoot* nb = open(a);
    ASSERT_TRUE(nb);
    TTreeNode* folder = node(QStringLiteral("folder"));
    TTreeNode* inner = node(QStringLiteral("inner"));
    EXPECT_TRUE(tree->isExpanded(tree->IndexOf(nb->RootNode)));
    EXPECT_TRUE(tree->isExpanded(tree->IndexOf(folder)));
    EXPECT_FALSE(tree->isExpanded(tree->IndexOf(inner)));

    // The user expands: the stored flag follows.
    tree->expand(tree->IndexOf(inner));
    EXPECT_TRUE(inner->Expanded());
    EXPECT_EQ(inner->Note()->Record.Expanded(), -1);
    tree->collapse(tree->IndexOf(folder));
    EXPECT_FALSE(folder->Expanded());
    EXPECT_EQ(folder->Note()->Record.Expanded(), 0);
    EXPECT_TRUE(tree->isExpanded(tree->IndexOf(inner))) << "a collapsed parent keeps its children's state";

    // The forest changes a node: the view follows.
    service.SetExpanded(folder, true);
    EXPECT_TRUE(tree->isExpanded(tree->IndexOf(folder)));
    nb->LockNotebook();
    EXPECT_FALSE(tree->isExpanded(tree->IndexOf(nb->RootNode)));

    // A bracketed change keeps expansions and the selection.
    service.SetExpanded(nb->RootNode, true);
    tree->SelectNode(folder);
    service.Forest().BeginUpdate();
    service.Forest().EndUpdate();
    EXPECT_TRUE(tree->isExpanded(tree->IndexOf(nb->RootNode)));
    EXPECT_TRUE(tree->isExpanded(tree->IndexOf(inner)));
    EXPECT_EQ(tree->Selected(), folder);
}

TEST_F(TreeTest, ClosingTheSelectedNotebookInsideABracketLeavesNoStalePointers) {
    const QString a = writeNotebook(QStringLiteral("A"), {{QStringLiteral("a1"), rtf("one")}});
    const QString b = writeNotebook(QStringLiteral("B"), {{QStringLiteral("b1"), rtf("two")}});
    makeTree();
    TNodeRoot* nbA = open(a);
    ASSERT_TRUE(open(b));
    tree->SelectNode(node(QStringLiteral("a1")));
    tree->SetDropTarget(node(QStringLiteral("a1")));
    ASSERT_EQ(tree->CurrentNote(), node(QStringLiteral("a1"))->Note());

    service.Forest().BeginUpdate();
    service.Close(nbA);
    EXPECT_EQ(tree->Selected(), nullptr) << "no node of a closed notebook is handed out";
    EXPECT_EQ(tree->CurrentNote(), nullptr);
    service.Forest().EndUpdate();

    EXPECT_EQ(tree->DropTarget(), nullptr);
    EXPECT_EQ(tree->History().Nodes().size(), 0);
    EXPECT_EQ(tree->Selected(), root(0)) << "the notebook's place takes the selection";
    QTest::qWait(200);
    EXPECT_EQ(tree->CurrentNotebook()->FileName, b);
}
