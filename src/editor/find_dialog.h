#pragma once
// The control's find and replace dialogs: modeless, with the search text,
// whole-word, match-case and direction choices (and, for replace, the
// replacement with replace and replace-all).
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QPushButton;

namespace vlr {

class TRichFindDialog final : public QDialog {
    Q_OBJECT
public:
    TRichFindDialog(QWidget* parent, bool replace);

    bool isReplace() const { return m_replace; }
    QString findText() const;
    void setFindText(const QString& text);
    QString replaceText() const;
    void setReplaceText(const QString& text);
    bool wholeWord() const;
    bool matchCase() const;
    bool down() const;
    void setDirectionVisible(bool visible);
    void reject() override;

signals:
    void findNext();
    void replaceOne();
    void replaceAll();
    void closed();

private:
    bool m_replace;
    QLineEdit* m_find = nullptr;
    QLineEdit* m_replaceWith = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QRadioButton* m_up = nullptr;
    QRadioButton* m_down = nullptr;
    QWidget* m_direction = nullptr;
};

} // namespace vlr
