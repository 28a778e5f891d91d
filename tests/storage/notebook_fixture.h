#pragma once
// Small notebooks for storage tests: made through the engine, reopened,
// and looked at byte for byte.
#include "libs/extlib.h"
#include "libs/vlrlib.h"
#include "storage/images/default_images.h"
#include "storage/node_root.h"
#include "storage/notebook_binding.h"
#include "storage/notebook_service.h"
#include "support/scripted_messages.h"
#include "support/test_paths.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vlr::test {

inline void useBuiltLibraries() {
    TVlrLib::setLibraryFolder(binDir());
    TExtLib::setLibraryFolder(binDir());
}

// One notebook held by its own notebook service, as the program holds it.
struct Book {
    TNotebookService service{defaultImages()};
    TNodeRoot* nb = nullptr; // owned by the service
    std::unique_ptr<TNotebookBinding> binding;

    // What a dialog or command opened for the notebook holds.
    TNotebookBinding& bound() {
        if (!binding)
            binding = std::make_unique<TNotebookBinding>(service, *nb);
        return *binding;
    }

    static std::unique_ptr<Book> create(const QString& path, uint32_t flags = 0, const QString& password = {},
                                        int reserve = 100, uint32_t version = 5) {
        auto b = std::make_unique<Book>();
        NewNotebookDefaults d;
        d.reserveSize = reserve;
        d.compress = flags & bfCompressed;
        b->nb = b->service.Create(d, path);
        b->nb->Header.setVersion(version);
        if (flags & bfEncrypted) {
            EXPECT_TRUE(b->service.Protect(*b->nb, password));
        }
        return b;
    }

    // Opens an existing file; the password (if any) answers the question.
    static std::unique_ptr<Book> open(const QString& path, int* result, const QString& password = {},
                                      bool readOnly = false) {
        auto b = std::make_unique<Book>();
        OpenOptions options;
        options.readOnly = readOnly;
        options.askPassword = [password](TNodeRoot*, TNodeRoot* notebook, bool& res) {
            res = !password.isEmpty() && Unlock(*notebook, password);
        };
        const OpenOutcome outcome = b->service.Open(path, options);
        *result = outcome.result;
        b->nb = outcome.notebook;
        return b;
    }

    TNodeData* add(const QString& name, const QByteArray& body, TTreeNode* parent = nullptr,
                   bool plain = false) {
        TTreeNode* under = parent ? parent : nb->RootNode;
        TNodeData* note = service.AddNote(*nb, under, under->Count(), name, NewNoteDefaults{}, plain);
        note->Body = body;
        return note;
    }

    void remove(TNodeData* note) { service.DeleteNote(*note); }

    QByteArray body(int index) {
        QByteArray out;
        nb->ReadNote(index, out);
        return out;
    }
};

inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Little-endian int32 at an offset of a byte array.
inline int32_t i32At(const QByteArray& bytes, qsizetype offset) {
    return codec::getI32(reinterpret_cast<const unsigned char*>(bytes.constData()) + offset);
}
inline void setI32At(QByteArray& bytes, qsizetype offset, int32_t value) {
    codec::putI32(reinterpret_cast<unsigned char*>(bytes.data()) + offset, value);
}

class StorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        useBuiltLibraries();
        ASSERT_TRUE(dir.isValid());
    }
    QString path(const QString& name = QStringLiteral("book.vlr")) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

} // namespace vlr::test
