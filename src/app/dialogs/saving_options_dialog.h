#pragma once
// "Опции сохранения книжки": compression on or off (at once), the reserve
// each body keeps and auto-save (on OK).
#include "app/dialogs/notebook_options.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace vlr {

class TNotebookBinding;

class TfrmSavingOptions final : public QDialog {
    Q_OBJECT
public:
    // target: the notebook the dialog is for; once it is lost, the dialog
    // ends as cancelled. askCompress: the ask-once flag of the compression question.
    TfrmSavingOptions(QWidget* parent, TNotebookBinding& target, bool& askCompress);

    SavingFields fields() const;

    QLabel* statusLabel() const { return m_status; }
    QPushButton* compressButton() const { return m_compress; }
    QSpinBox* reserveBox() const { return m_reserve; }
    QCheckBox* autoSaveBox() const { return m_autoSave; }
    QSpinBox* minutesBox() const { return m_minutes; }
    QPushButton* okButton() const { return m_ok; }

    void accept() override;

private:
    void showState();
    void toggleCompression();

    TNotebookBinding& m_target;
    bool& m_askCompress;
    QLabel* m_status;
    QPushButton* m_compress;
    QSpinBox* m_reserve;
    QCheckBox* m_autoSave;
    QSpinBox* m_minutes;
    QPushButton* m_ok = nullptr;
};

// Shows the dialog; true when it ended with OK (its fields are then applied).
bool RunSavingOptionsDialog(QWidget* parent, TNotebookBinding& target, bool& askCompress);

} // namespace vlr
