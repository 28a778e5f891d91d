// GetFormulaValue: good expressions, bad ones raising EVellinorError with a
// reason, and the separators of the user's locale.
#include "core/error.h"
#include "library_fixture.h"

#include <QLocale>

namespace vlr {
namespace {

using test::LibsExtTest;

class LibsFormulaTest : public LibsExtTest {
protected:
    void SetUp() override {
        LibsExtTest::SetUp();
        m_saved = QLocale();
    }
    void TearDown() override {
        QLocale::setDefault(m_saved);
        LibsExtTest::TearDown();
    }
    QLocale m_saved;
};

struct FormulaCase {
    QLocale::Language language;
    const char* expression;
    double value;
    bool valid;
};

// clang-format off
const FormulaCase kCases[] = {
    {QLocale::English, "2+3*4",       14,   true},
    {QLocale::English, " (1+2)/4 ",   0.75, true},
    {QLocale::English, "2^10",        1024, true},
    {QLocale::English, "sqrt(16)-1",  3,    true},
    {QLocale::English, "2.5+1",       3.5,  true},
    {QLocale::English, "min(2.5,1)",  1,    true},
    {QLocale::English, "2,5+1",       0,    false}, // two values, not two and a half
    {QLocale::English, "",            0,    false},
    {QLocale::English, "2+",          0,    false},
    {QLocale::English, "2+*3",        0,    false},
    {QLocale::English, "foo(1)",      0,    false},
    {QLocale::English, "1/0",         0,    false},
    {QLocale::English, "sqrt(-1)",    0,    false},
    {QLocale::English, "два",         0,    false},
    {QLocale::Russian, "2,5+1",       3.5,  true},
    {QLocale::Russian, "min(2,5;1)",  1,    true},
    {QLocale::Russian, "2;5",         0,    false},
    {QLocale::Russian, "2.5+1",       0,    false},
};
// clang-format on

TEST_F(LibsFormulaTest, EvaluatesWithTheLocaleSeparators) {
    for (const FormulaCase& c : kCases) {
        SCOPED_TRACE(std::string(c.expression) + (c.language == QLocale::Russian ? " (ru)" : " (en)"));
        QLocale::setDefault(QLocale(c.language));
        const QString expression = QString::fromUtf8(c.expression);
        if (c.valid) {
            EXPECT_DOUBLE_EQ(ext().GetFormulaValue(expression), c.value);
            continue;
        }
        try {
            ext().GetFormulaValue(expression);
            ADD_FAILURE() << "a bad expression must raise";
        } catch (const EVellinorError& e) {
            EXPECT_FALSE(e.text().isEmpty());
        }
    }
}

} // namespace
} // namespace vlr
