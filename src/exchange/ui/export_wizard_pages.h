#pragma once
// The controls of the export wizard's seven steps, built once; the wizard
// reads and sets them.
#include "config/fontrecord.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTextEdit;
class QTreeView;
class QWidget;

namespace vlr {

// A font button: shows the font's name and size, remembers the record.
struct TFontChoice {
    QPushButton* button = nullptr;
    TFontRecord font;
    void Show();
};

struct TExportPages {
    // Step 1.
    QRadioButton *rbOne, *rbMulti, *rbStruct;
    QCheckBox *cbSelNotes, *cbRecurse;
    // Step 1.1.
    QTreeView* tvExport;
    QPushButton *btnMarkAll, *btnUnmark;
    QTextEdit* notePreview;
    QCheckBox* cbZoom2;
    // Step 2.
    QRadioButton *rbExpRTF, *rbExpPlain;
    QCheckBox* cbAddSingle;
    // Step 2.1.
    QGroupBox *gbHtml, *gbPlain;
    QCheckBox* cbHtmlPict;
    QComboBox *cbDefFont, *cbDefSize;
    QCheckBox *cbHtmlTabs, *cbUseBack;
    QLineEdit* edHtmlTitle;
    QCheckBox* cbFormatTxt;
    QSpinBox* spLineWidth;
    // Step 3.
    QRadioButton *rbPage, *rbSep, *rbNothing;
    QComboBox* edSep;
    TFontChoice sepFont, headerFont, footerFont;
    QCheckBox *cbCenterSep, *cbInsertHeader, *cbCenterHeader, *cbInsertFooter, *cbCenterFooter;
    QPlainTextEdit *mHeader, *mFooter;
    // Step 4.
    QListWidget* lbTargets;
    QStackedWidget* targetSide; // the preview, the folder or the notebook file
    QTextEdit* docPreview;
    QCheckBox* cbZoom;
    QLineEdit* edFolder;
    QPushButton* btnFolder;
    QLineEdit* edVlrFile;
    QPushButton* btnVlrFile;
    QCheckBox *cbVlrCompress, *cbVlrEncrypt;
    // Step 2 of several files.
    QRadioButton *rbFolderOne, *rbFolderMany, *rbDupSkip, *rbDupRename;
    QCheckBox *cbReplaceChars, *cbAddMulti;

    // Adds the seven pages, in step order.
    void Build(QStackedWidget* stack);
};

} // namespace vlr
