#pragma once
// A saved notebook of two notes for the options dialogs, and its bodies as a
// fresh open reads them.
#include "notebook_fixture.h"
#include "support/scripted_messages.h"

namespace vlr::test {

class OptionsDialogTest : public StorageTest {
protected:
    void SetUp() override {
        StorageTest::SetUp();
        book = Book::create(path());
        for (const QByteArray& body : bodies())
            book->add(QStringLiteral("запись"), body);
        ASSERT_EQ(book->nb->SaveNotes(), srOk);
    }
    static QList<QByteArray> bodies() { return {"{\\rtf1 первая запись}", "{\\rtf1 вторая запись}"}; }
    TNodeRoot& nb() { return *book->nb; }
    // Reopens the file (with the password, if any) and reads every body.
    QList<QByteArray> storedBodies(const QString& password = {}) {
        book.reset();
        int result = -1;
        book = Book::open(path(), &result, password);
        EXPECT_EQ(result, lrOk);
        // As the program's password question keeps it.
        nb().PasswordDigest = PasswordDigest(password);
        QList<QByteArray> out;
        for (int i = 0; i < nb().Notes.size(); ++i)
            out << book->body(i);
        return out;
    }

    ScriptedMessages messages;
    std::unique_ptr<Book> book;
};

} // namespace vlr::test
