#pragma once
// Small notebooks for storage tests: made through the engine, reopened,
// and looked at byte for byte.
#include "libs/extlib.h"
#include "libs/vlrlib.h"
#include "storage/images/default_images.h"
#include "storage/new_note.h"
#include "storage/node_root.h"
#include "support/scripted_messages.h"
#include "support/test_paths.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vlr::test {

inline void useBuiltLibraries()
{
    TVlrLib::setLibraryFolder(binDir());
    TExtLib::setLibraryFolder(binDir());
}

struct Book {
    TNoteForest forest;
    std::unique_ptr<TNodeRoot> nb;
    ~Book() { nb.reset(); }

    TNodeRoot* operator->() { return nb.get(); }

    static std::unique_ptr<Book> create(const QString& path, uint32_t flags = 0, const QString& password = {},
                                        int reserve = 100, uint32_t version = 5)
    {
        auto b = std::make_unique<Book>();
        b->nb = std::make_unique<TNodeRoot>(nullptr, defaultImages());
        b->nb->FileName = path;
        b->nb->RootNode = b->forest.AddRoot(QStringLiteral("book"));
        b->nb->RootNode->Notebook = b->nb.get();
        NewNotebookDefaults d;
        d.reserveSize = reserve;
        d.compress = flags & bfCompressed;
        b->nb->InitNew(d);
        b->nb->Header.setVersion(version);
        if (flags & bfEncrypted) {
            b->nb->Header.setKeyIV(b->nb->Header.data() + 32);
            EXPECT_TRUE(SetupKey(*b->nb, password));
            b->nb->SetBookFlag(bfEncrypted, true);
        }
        return b;
    }

    // Opens an existing file; the password (if any) answers the question.
    static std::unique_ptr<Book> open(const QString& path, int* result, const QString& password = {},
                                      bool readOnly = false)
    {
        auto b = std::make_unique<Book>();
        b->nb = std::make_unique<TNodeRoot>(nullptr, defaultImages());
        b->nb->FileName = path;
        b->nb->RootNode = b->forest.AddRoot(QStringLiteral("book"));
        b->nb->RootNode->Notebook = b->nb.get();
        b->nb->OnAskPassword = [password](TNodeRoot*, TNodeRoot* notebook, bool& res) {
            res = !password.isEmpty() && Unlock(*notebook, password);
        };
        *result = b->nb->LoadNotes(readOnly);
        return b;
    }

    TNodeData* add(const QString& name, const QByteArray& body, TTreeNode* parent = nullptr, bool plain = false)
    {
        TTreeNode* node = forest.AddChild(parent ? parent : nb->RootNode, name);
        TNodeData* note = CreateNoteForNode(*nb, node, NewNoteDefaults{}, plain);
        note->Body = body;
        return note;
    }

    QByteArray body(int index)
    {
        QByteArray out;
        nb->ReadNote(index, out);
        return out;
    }
};

inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Little-endian int32 at an offset of a byte array.
inline int32_t i32At(const QByteArray& bytes, qsizetype offset)
{
    return codec::getI32(reinterpret_cast<const unsigned char*>(bytes.constData()) + offset);
}
inline void setI32At(QByteArray& bytes, qsizetype offset, int32_t value)
{
    codec::putI32(reinterpret_cast<unsigned char*>(bytes.data()) + offset, value);
}

class StorageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        useBuiltLibraries();
        ASSERT_TRUE(dir.isValid());
    }
    QString path(const QString& name = QStringLiteral("book.vlr")) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

} // namespace vlr::test
