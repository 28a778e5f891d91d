#pragma once
// The notes tree on real notebooks: files written through the notebook
// service, opened again by the tree's own service, and a tree with an editor
// in a small window.
#include "notebook_fixture.h"
#include "tree/MyTreeView.h"
#include "tree/tree_operations.h"

#include <QHBoxLayout>
#include <QTest>
#include <QWidget>

namespace vlr::test {

// One note of a notebook written for a test: level 1 is a top note.
struct NoteShape {
    QString name;
    QByteArray body;
    int level = 1;
    bool plain = false;
};

inline QByteArray rtf(const QByteArray& text) {
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 " + text + "\\par}";
}

class TreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        useBuiltLibraries();
        ASSERT_TRUE(dir.isValid());
    }

    QString path(const QString& name) const { return dir.filePath(name + QStringLiteral(".vlr")); }

    // Writes a notebook file with the notes in pre-order and returns its path.
    QString writeNotebook(const QString& name, const QList<NoteShape>& notes, uint32_t flags = 0,
                          const QString& password = {}) {
        auto book = Book::create(path(name), flags, password);
        book->nb->Header.setBookName(name);
        QList<TTreeNode*> parents{book->nb->RootNode};
        for (const NoteShape& shape : notes) {
            parents.resize(qBound(1, shape.level, int(parents.size())));
            TNodeData* note = book->add(shape.name, shape.body, parents.last(), shape.plain);
            parents.append(note->TreeNode);
        }
        EXPECT_EQ(book->service.Save(*book->nb), srOk);
        return path(name);
    }

    // Opens a file in the tree's service; the password (if any) unlocks it.
    TNodeRoot* open(const QString& file, const QString& password = {}) {
        OpenOptions options;
        options.askPassword = [password](TNodeRoot*, TNodeRoot* notebook, bool& res) {
            res = !password.isEmpty() && Unlock(*notebook, password);
        };
        const OpenOutcome outcome = service.Open(file, options);
        EXPECT_EQ(outcome.result, lrOk);
        return outcome.notebook;
    }

    // The tree and its editor side by side in a small shown window.
    void makeTree() {
        window = std::make_unique<QWidget>();
        auto* layout = new QHBoxLayout(window.get());
        tree = new TMyTreeView(service, window.get());
        editor = new TMyRichEdit(window.get());
        layout->addWidget(tree);
        layout->addWidget(editor);
        tree->SetEditor(editor);
        tree->ApplyOptions(options);
        window->resize(640, 320);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    TTreeNode* root(int i) const { return service.Forest().RootAt(i); }
    // The note called name anywhere in the forest.
    TTreeNode* node(const QString& name) const {
        for (int i = 0; i < service.Forest().RootCount(); ++i) {
            TTreeNode* found = nullptr;
            VisitDescendants(root(i), [&](TTreeNode* n) {
                if (n->Text() == name)
                    found = n;
                return !found;
            });
            if (found)
                return found;
        }
        return nullptr;
    }
    static QString editorText(TMyRichEdit* e) { return e->Text().trimmed(); }

    QTemporaryDir dir;
    TNotebookService service{defaultImages()};
    TVLROptions options;
    std::unique_ptr<QWidget> window;
    TMyTreeView* tree = nullptr; // owned by window
    TMyRichEdit* editor = nullptr;
};

} // namespace vlr::test
