#pragma once
// Tip of the day: one line of "tips.rus.txt" beside the program, the index
// kept between sessions so each start shows the next tip.
#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;

namespace vlr {

// The index rules apart from the dialog, so they can be checked alone.
class TTipCursor {
public:
    TTipCursor(QStringList tips, int index) : m_tips(std::move(tips)), m_index(index) {}
    // The tip at the index, or the end text when there is none there.
    QString Text() const;
    void Next();
    void Previous();
    int Index() const { return m_index; }

private:
    QStringList m_tips;
    int m_index = 0;
};

// The non-empty lines of the file; an unreadable file gives none.
QStringList ReadTips(const QString& path);
// "tips.rus.txt" in the program's folder.
QString TipsFilePath();

class TfrmTotd : public QDialog {
    Q_OBJECT
public:
    // Reads the tips afresh; index is the saved tip number.
    TfrmTotd(int index, bool showAtStart, QWidget* parent = nullptr);
    // After the dialog closed: the number of the tip the next start shows.
    int TipNumber() const { return m_cursor.Index(); }
    bool ShowAtStart() const;

protected:
    void done(int result) override;

private:
    void refresh();

    TTipCursor m_cursor;
    QLabel* m_text = nullptr;
    QCheckBox* m_showAtStart = nullptr;
    bool m_advanced = false;
};

} // namespace vlr
