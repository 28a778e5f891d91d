// Bodies read back by the vlr tool after encryption, a new password and
// decryption are the bytes first written.
#include "storage/notebook_rewrite.h"
#include "vlr_fixture.h"

namespace vlr::test {
namespace {

TEST_F(VlrTool, EncryptChangePasswordDecryptKeepsEveryBodyByteForByte) {
    useBuiltLibraries();
    const QList<QByteArray> bodies = {QByteArray("{\\rtf1 one}"), QByteArray(1500, 'q'),
                                      QByteArray("\xcf\xf0")};
    {
        auto b = Book::create(file());
        for (int i = 0; i < bodies.size(); ++i)
            b->add(QStringLiteral("n%1").arg(i), bodies[i], nullptr, true);
        ASSERT_EQ(b->nb->SaveNotes(), srOk);
    }
    const struct {
        const char* name;
        QString openWith, after;
        std::function<RewriteOutcome(TNodeRoot&)> run;
    } steps[] = {
        {"encrypt", {}, "one", [](TNodeRoot& nb) { return ToggleEncryption(nb, QStringLiteral("one")); }},
        {"password", "one", "two",
         [](TNodeRoot& nb) { return ChangeNotebookPassword(nb, QStringLiteral("two")); }},
        {"decrypt", "two", {}, [](TNodeRoot& nb) { return ToggleEncryption(nb, {}); }},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        {
            int result = -1;
            auto b = Book::open(file(), &result, s.openWith);
            ASSERT_EQ(result, lrOk);
            ASSERT_TRUE(s.run(*b->nb).ok);
        }
        for (int i = 0; i < bodies.size(); ++i)
            EXPECT_EQ(vlr({"cat", file(), QString::number(i), "--raw"}, {}, s.after).out, bodies[i]) << i;
    }
}

} // namespace
} // namespace vlr::test
