#pragma once
// The rich-text control every note, the text collector and the dialogs show
// text in: a QTextEdit that reads and writes RTF, with the operations,
// settings and events the editor features are written against.
#include "editor/links.h"
#include "editor/para_attributes.h"
#include "editor/plain_stream.h"
#include "editor/richedit_types.h"
#include "editor/text_attributes.h"
#include "editor/undo_history.h"

#include <QByteArrayView>
#include <QImage>
#include <QTextCharFormat>
#include <QTextEdit>
#include <functional>
#include <memory>

class QIODevice;
class QTextBlock;

namespace vlr {

class TRichDecorations;
class TRichFormatRange;
class TSelectionBar;
struct TPasteSpecialEntry;
enum class TPasteFormat;

// One page of text for printing and preview: the range [cpMin, cpMax)
// (cpMax < 0: to the end) laid out in `rc`, in twips of the device.
struct TFormatRangeRequest {
    // The text is laid out for this device's resolution (the printer, also
    // when a preview page is recorded elsewhere); the painter's device when null.
    QPaintDevice* device = nullptr;
    QPainter* painter = nullptr; // draws the page when given
    QRect rc;                    // twips
    int cpMin = 0;
    int cpMax = -1;
};

class TMyCustomRichEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit TMyCustomRichEdit(QWidget* parent = nullptr);
    ~TMyCustomRichEdit() override;

    static int RichEditVersion() { return kRichEditVersion; }
    // What the About box shows for the control: its library's version and,
    // in parentheses, the control version.
    static QString RichEditVersionText();

    // ---- Events (the sender is this control)
    std::function<void(TMyCustomRichEdit* Sender)> OnChange;
    std::function<void(TMyCustomRichEdit* Sender)> OnSelectionChange;
    // AllowChange starts false; the edit happens only when the handler sets it.
    std::function<void(TMyCustomRichEdit* Sender, int StartPos, int EndPos, bool& AllowChange)>
        OnProtectChange;
    std::function<void(TMyCustomRichEdit* Sender, TCharRange URLRange)> OnURLMouseOver;
    std::function<void(TMyCustomRichEdit* Sender, TCharRange URLRange, const QString& URLText,
                       TMouseButton Button, Qt::KeyboardModifiers ShiftState, bool Double)>
        OnURLClick;
    std::function<void(TMyCustomRichEdit* Sender, const QString& FindText)> OnTextNotFound;
    std::function<void(TMyCustomRichEdit* Sender, QDialog* Dialog)> OnCloseFindDialog;
    std::function<void(TMyCustomRichEdit* Sender, QMouseEvent* Event)> OnMouseDown;
    std::function<void(TMyCustomRichEdit* Sender, QMouseEvent* Event)> OnMouseUp;
    std::function<void(TMyCustomRichEdit* Sender, QMouseEvent* Event)> OnMouseMove;
    std::function<void(TMyCustomRichEdit* Sender, QMouseEvent* Event)> OnDblClick;
    // Setting Key to 0 swallows the key.
    std::function<void(TMyCustomRichEdit* Sender, int& Key, Qt::KeyboardModifiers Shift)> OnKeyDown;
    std::function<void(TMyCustomRichEdit* Sender, int& Key, Qt::KeyboardModifiers Shift)> OnKeyUp;
    // Setting Key to a null character swallows the character.
    std::function<void(TMyCustomRichEdit* Sender, QChar& Key)> OnKeyPress;
    // Setting Handled stops the control's own menu.
    std::function<void(TMyCustomRichEdit* Sender, QPoint MousePos, bool& Handled)> OnContextPopup;

signals:
    // For every listener beside the one On… handler: the status bar, the
    // command states and the format bar all follow these.
    void changed();
    void selectionChange();

public:
    // ---- Settings
    bool PlainText() const { return m_plainText; }
    void SetPlainText(bool on); // keeps the content
    TStreamFormat StreamFormat() const { return m_streamFormat; }
    void SetStreamFormat(TStreamFormat f) { m_streamFormat = f; }
    TRichStreamModes StreamMode() const { return m_streamMode; }
    void SetStreamMode(TRichStreamModes m) { m_streamMode = m; }
    int UndoLimit() const { return m_undo.limit(); }
    void SetUndoLimit(int limit) { m_undo.setLimit(limit); }
    bool AutoURLDetect() const;
    void SetAutoURLDetect(bool on);
    bool WordSelection() const { return m_wordSelection; }
    void SetWordSelection(bool on) { m_wordSelection = on; }
    bool WordWrap() const;
    void SetWordWrap(bool on);
    bool SelectionBar() const { return m_selectionBar != nullptr; }
    void SetSelectionBar(bool on);
    bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool on);
    bool HideScrollBars() const { return m_hideScrollBars; }
    void SetHideScrollBars(bool on);
    bool WantTabs() const { return !tabChangesFocus(); }
    void SetWantTabs(bool on) { setTabChangesFocus(!on); }
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool on);
    quint32 Color() const { return m_color; }
    void SetColor(quint32 color); // background of the whole document
    QFont Font() const;
    void SetFont(const QFont& font); // the default attributes take it
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int length) { m_maxLength = qMax(0, length); }
    int TextLimit() const { return m_maxLength > 0 ? m_maxLength : kMaxTextLimit; }
    QString Title() const { return m_title; }
    void SetTitle(const QString& title) { m_title = title; }
    // Embedded objects are shown as placeholders; these are kept for the callers.
    bool AllowObjects() const { return m_allowObjects; }
    void SetAllowObjects(bool on) { m_allowObjects = on; }
    bool AllowInPlace() const { return m_allowInPlace; }
    void SetAllowInPlace(bool on) { m_allowInPlace = on; }
    bool AutoVerbMenu() const { return m_autoVerbMenu; }
    void SetAutoVerbMenu(bool on) { m_autoVerbMenu = on; }
    TRichLangOptions LangOptions() const { return m_langOptions; }
    void SetLangOptions(TRichLangOptions o) { m_langOptions = o; }
    // Swaps move and copy for drops.
    bool ReverseDrop() const { return m_reverseDrop; }
    void SetReverseDrop(bool on) { m_reverseDrop = on; }

    // ---- Attributes
    TRxTextAttributes& SelAttributes() { return m_selAttributes; }
    TRxTextAttributes& WordAttributes() { return m_wordAttributes; }
    TRxTextAttributes& DefAttributes() { return m_defAttributes; }
    TRxParaAttributes& Paragraph() { return m_paragraph; }

    // ---- Content
    // Stream in with the fall-back between RTF and text; raises
    // EVellinorError("Failed to Load Stream") when neither reads. A stream is
    // a file from outside: its plain text may be UTF-8 without a byte-order
    // mark. Bytes are a stored note body, read by the body's own rule.
    void LoadFromStream(QIODevice& stream);
    void LoadFromBytes(QByteArrayView data);
    // Raises EVellinorError("Failed to Save Stream") when the stream refuses the data.
    void SaveToStream(QIODevice& stream);
    QByteArray SaveToBytes();
    void Clear();
    int TextLength() const; // characters, paragraph ends counted once
    QString Text() const;   // '\n' for paragraph ends
    int SelStart() const;
    void SetSelStart(int pos);
    int SelLength() const;
    void SetSelLength(int length);
    void GetSelection(int& start, int& end) const;
    void SetSelection(int start, int end, bool scrollCaret = true);
    QString SelText() const;
    // Replaces the selection (undoable) and leaves the new text selected;
    // false when protection or the text limit refused it.
    bool SetSelText(const QString& text);
    // Inserts plain text with the current attributes, caret after it, keeping undo.
    void InsertText(const QString& text);
    // The selection takes the font and charset (2: symbol), then the
    // character goes in; returns the new caret position.
    int InsertSymbol(int code, const QString& fontName, int charset);
    QString GetTextRange(int start, int end) const;
    int LineCount() const;
    int LineFromChar(int pos) const;  // pos < 0: the caret's line
    int GetLineIndex(int line) const; // line < 0: the caret's line; -1 beyond the last
    int GetLineLength(int pos) const; // length of the line holding pos, without its end
    QPoint CaretPos() const;          // x: column, y: line
    QPoint GetCharPos(int pos) const; // viewport coordinates
    QPoint ScrollPos() const;
    void SetScrollPos(QPoint pos);
    int ZoomPercent() const;
    void SetZoomPercent(int percent); // 0 or less: 100
    void GetZoom(int& numerator, int& denominator) const;
    bool SetZoom(int numerator, int denominator); // 0/0 turns zoom off; ratio within 1/64..64
    // Every run of the selection grows or shrinks along the standard sizes.
    void ChangeFontSize(int step);
    // First match in [start, start + length) (length < 0: to the end).
    int FindText(const QString& text, int start, int length, TRichSearchTypes options);
    TRichSelectionType SelectionType() const;
    bool CanPaste() const;
    bool Modified() const { return m_modified; }
    void SetModified(bool on);
    int FindWordBreak(int pos) const; // the next word boundary to the right
    // Lays out (and with a painter, draws) one page of the range; returns
    // the first position that did not fit, or -1 on a bad request. A request
    // without a device drops the layout kept between pages.
    int FormatRange(const TFormatRangeRequest& request);

    // ---- Undo
    bool CanUndo() const { return !isReadOnly() && m_undo.canUndo(); }
    bool CanRedo() const { return !isReadOnly() && m_undo.canRedo(); }
    TUndoName UndoName() const { return m_undo.undoName(); }
    TUndoName RedoName() const { return m_undo.redoName(); }
    void Undo();
    void Redo();
    void ClearUndo() { m_undo.clear(); }

    // ---- Clipboard
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    QList<TPasteSpecialEntry> PasteSpecialEntries() const;
    bool PasteSpecial(TPasteFormat format);

    // ---- For the attribute classes
    QTextCursor attributeCursor(TAttributeType type) const;
    QList<QTextCharFormat> charFormatsOf(TAttributeType type) const;
    void changeCharFormats(TAttributeType type, const std::function<void(QTextCharFormat&)>& change);
    bool linkCovers(TAttributeType type) const;
    QList<QTextBlock> selectedBlocks() const;
    // Changes of protected text ask OnProtectChange first and do nothing when refused.
    void changeBlocks(const std::function<void(QTextCursor&)>& change); // one undo step

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    friend class TSelectionBar;

    void layoutThrough(int pos) const; // pos < 0: the whole text
    QTextBlock laidOutBlockAt(int& pos) const;
    void loadBytes(QByteArrayView data, TPlainOrigin origin);
    QString streamPlainText(QByteArrayView data, bool asRtf, TPlainOrigin origin) const;
    bool fillDocument(QTextDocument* doc, QByteArrayView data, bool asRtf, TPlainOrigin origin);
    bool insertStream(QByteArrayView data, bool asRtf, TPlainOrigin origin);
    QByteArray saveBytes();
    bool streamsRtf() const;
    void applyDefaultFormat();
    void applyPalette();
    void applyScrollBars();
    void applyZoom();
    void attachDocument();
    void redecorate();
    void contentsChanged();
    void selectionMoved();
    bool allowEdit(int start, int end);
    bool allowCursorEdit(const QTextCursor& c) { return allowEdit(c.selectionStart(), c.selectionEnd()); }
    bool fitsLimit(qsizetype added, int removed) const;
    bool keyEditRange(QKeyEvent* e, int& start, int& end, TUndoName& kind) const;
    int charAt(QPoint viewportPos) const;
    void linkMouse(QMouseEvent* e, int phase);
    void pasteData(const QMimeData* data, TUndoName kind);
    TCharRange wordRangeAt(int pos) const;
    void holdProtectedSelection(bool hold);
    TDropEffect dropEffectOf(const QDropEvent* e) const;

    bool m_plainText = false;
    TStreamFormat m_streamFormat = TStreamFormat::sfDefault;
    TRichStreamModes m_streamMode;
    bool m_wordSelection = true;
    bool m_hideSelection = false;
    bool m_hideScrollBars = false;
    quint32 m_color = kColorWindow;
    int m_maxLength = 0;
    QString m_title;
    bool m_allowObjects = true;
    bool m_allowInPlace = false;
    bool m_autoVerbMenu = false;
    TRichLangOptions m_langOptions;
    bool m_reverseDrop = false;
    bool m_modified = false;
    int m_loading = 0; // whole-document loads in progress: no change events
    int m_zoomNum = 0, m_zoomDen = 0;
    QImage m_zoomDevice;
    QTextCharFormat m_defaultFormat;
    int m_lastSelStart = 0, m_lastSelEnd = 0;
    // Link click state
    TCharRange m_linkRange;
    TMouseButton m_linkButton = TMouseButton::mbLeft;
    bool m_linkRemembered = false;
    // Word selection while dragging
    bool m_dragSelecting = false;
    int m_dragAnchor = 0;
    bool m_holdingSelection = false;

    TRichUndoHistory m_undo;
    TRichDecorations* m_decorations = nullptr;
    TSelectionBar* m_selectionBar = nullptr;
    std::unique_ptr<TRichFormatRange> m_formatRange;
    TRxTextAttributes m_selAttributes{this, TAttributeType::atSelected};
    TRxTextAttributes m_wordAttributes{this, TAttributeType::atWord};
    TRxTextAttributes m_defAttributes{this, TAttributeType::atDefaultText};
    TRxParaAttributes m_paragraph{this};
};

} // namespace vlr
