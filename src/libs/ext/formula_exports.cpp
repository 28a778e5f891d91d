// GetFormulaValue: expressions evaluated by muparser with the caller's
// decimal and argument separators.
#include "libs/ext/ext_abi.h"
#include "libs/ext/text_bridge.h"

#include <muParser.h>

#include <cmath>
#include <exception>

namespace {

int fail(VlrAppendText error, void* sink, const QString& reason) {
    if (error)
        vlr::ext::sendText(error, sink, reason);
    return 0;
}

} // namespace

extern "C" int GetFormulaValue(const char16_t* expression, size_t expressionLen, char16_t decimalSeparator,
                               char16_t argumentSeparator, double* value, VlrAppendText error,
                               void* errorSink) {
    if (!value)
        return 0;
    if (decimalSeparator == argumentSeparator || decimalSeparator == 0 || argumentSeparator == 0 ||
        decimalSeparator >= 0x80 || argumentSeparator >= 0x80)
        return fail(error, errorSink, QStringLiteral("Invalid decimal or argument separator"));
    try {
        const QString text = vlr::ext::fromUtf16(expression, expressionLen);
        mu::Parser parser;
        parser.SetDecSep(char(decimalSeparator));
        parser.SetArgSep(char(argumentSeparator));
        parser.SetExpr(text.toStdString());
        int count = 0;
        const double* results = parser.Eval(count);
        // The argument separator also separates whole expressions; a list of
        // values is not one value, and the last one alone would be a guess.
        if (count != 1)
            return fail(error, errorSink,
                        QStringLiteral("The expression gives %1 values instead of one").arg(count));
        // Division by zero and the like give inf or nan without an error.
        if (!std::isfinite(results[0]))
            return fail(error, errorSink, QStringLiteral("The result is not a finite number"));
        *value = results[0];
        return 1;
    } catch (const mu::Parser::exception_type& e) {
        return fail(error, errorSink, QString::fromStdString(e.GetMsg()));
    } catch (const std::exception& e) {
        return fail(error, errorSink, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return fail(error, errorSink, QStringLiteral("Invalid expression"));
    }
}
