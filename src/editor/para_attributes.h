#pragma once
// Paragraph attributes of the paragraphs the selection touches. Reading
// gives the first paragraph's values; writing changes the named property in
// every touched paragraph. Lengths are whole points unless said otherwise.
#include "editor/richedit_types.h"

#include <QList>

namespace vlr {

class TMyCustomRichEdit;

constexpr int kMaxTabStops = 32;

// Every paragraph property at once.
struct TRxParaFormat {
    TParaAlignment alignment = TParaAlignment::paLeftJustify;
    int firstIndent = 0; // where the first line starts
    int leftIndent = 0;  // the other lines, relative to the first (the offset)
    int rightIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    TLineSpacingRule lineSpacingRule = TLineSpacingRule::lsSingle;
    double lineSpacing = 0; // points; lines for lsMultiple
    TRxNumbering numbering = TRxNumbering::nsNone;
    int numberingStart = 1;
    int numberingStyle = nsPeriod; // TRxNumberingStyle
    int numberingTab = 0;          // twips
    QList<int> tabs;               // points, at most 32
    bool operator==(const TRxParaFormat&) const = default;
};

class TRxParaAttributes {
public:
    explicit TRxParaAttributes(TMyCustomRichEdit* owner) : m_owner(owner) {}

    TParaAlignment Alignment() const;
    void SetAlignment(TParaAlignment a); // swapped left/right in right-to-left paragraphs
    int FirstIndent() const;
    void SetFirstIndent(int points);
    int LeftIndent() const;
    void SetLeftIndent(int points);
    int RightIndent() const;
    void SetRightIndent(int points);
    int SpaceBefore() const;
    void SetSpaceBefore(int points);
    int SpaceAfter() const;
    void SetSpaceAfter(int points);
    TLineSpacingRule LineSpacingRule() const;
    double LineSpacing() const;
    void SetLineSpacing(TLineSpacingRule rule, double value);
    // Switching numbering on keeps the offset at least 200 twips; off sets it to 0.
    TRxNumbering Numbering() const;
    void SetNumbering(TRxNumbering kind);
    int NumberingStart() const;
    void SetNumberingStart(int start);
    int NumberingStyle() const;
    void SetNumberingStyle(int style);
    int NumberingTab() const;
    void SetNumberingTab(int twips);
    int TabCount() const;
    int Tab(int index) const; // points; 0 outside the stops
    void SetTabs(const QList<int>& points);

    TRxParaFormat Get() const;
    void Set(const TRxParaFormat& format); // all properties in one write

private:
    TMyCustomRichEdit* m_owner;
};

} // namespace vlr
