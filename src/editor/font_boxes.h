#pragma once
// The format bar's font box (installed families, the user fonts first) and
// size box.
#include "editor/user_fonts.h"

#include <QComboBox>
#include <QObject>

namespace vlr {

class TFormatCommands;
class TMyRichEdit;
struct TVLROptions;

// The installed families, sorted, one per family; scalable ones only when asked.
QStringList installedFontFamilies(bool scalableOnly);

class TFontBox : public QComboBox {
    Q_OBJECT
public:
    explicit TFontBox(QWidget* parent = nullptr);
    // Filled on first drop-down or edit; Fill refills at once.
    void Fill();
    bool Filled() const { return count() > 0; }
    std::function<void()> OnFill;
    void showPopup() override;

protected:
    void focusInEvent(QFocusEvent* e) override;
};

class TFontBoxes : public QObject {
    Q_OBJECT
public:
    TFontBoxes(TMyRichEdit& editor, TFormatCommands& commands, const TVLROptions& options, QWidget* parent);

    TFontBox* tbFormatFont;
    QComboBox* tbFormatSize;
    TUserFonts& UserFonts() { return m_userFonts; }

    // Fills the box: the installed list, the user fonts on top.
    void FillFonts(const QStringList& installed);
    // A face chosen (or typed and accepted); keep: Shift or Ctrl held.
    void ChooseFont(const QString& face, bool keep);
    // Text accepted or chosen in the size box.
    void ChooseSize(const QString& text, bool chosen);
    // After options change: a filled box is refilled, names drawn anew.
    void ApplyOptions();
    // The boxes show the caret's face and size.
    void Reflect();
    int UserFontCount() const { return int(m_userFonts.Names().size()); }

private:
    TMyRichEdit& m_editor;
    TFormatCommands& m_commands;
    const TVLROptions& m_options;
    TUserFonts m_userFonts;
    bool m_updating = false;
};

} // namespace vlr
