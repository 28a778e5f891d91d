#pragma once
// A small notebook to export from, and helpers to look at what came out.
#include "exchange/export_tree.h"
#include "storage/notebook_fixture.h"
#include "support/recording_progress.h"

#include <QDir>
#include <QDirIterator>

namespace vlr::test {

inline QByteArray rtfBody(const QByteArray& text) {
    return "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0\\fs20 " + text + "}";
}

class ExchangeTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        book = Book::create(path());
        book->nb->Header.setAuthor(QStringLiteral("Автор"));
        book->nb->Header.setBookName(QStringLiteral("Книга"));
        book->service.Forest().SetText(book->nb->RootNode, QStringLiteral("Книга"));
    }

    TNodeData* note(const QString& name, const QByteArray& body, TNodeData* parent = nullptr,
                    bool plain = false) {
        return book->add(name, body, parent ? parent->TreeNode : nullptr, plain);
    }
    TExportTree treeFrom(TTreeNode* selection, bool recurse = true,
                         TExportTree::Command command = TExportTree::Command::ExportNotes) {
        TExportTree t;
        t.Build(selection, command, recurse);
        return t;
    }
    TTreeNode* root() const { return book->nb->RootNode; }

    // Every file below a folder, relative, sorted.
    static QStringList filesBelow(const QString& folder) {
        QStringList files;
        QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << QDir(folder).relativeFilePath(it.next());
        files.sort();
        return files;
    }

    std::unique_ptr<Book> book;
    RecordingProgress progress;
};

} // namespace vlr::test
