#include "config/optionsfile.h"

#include "config/settingsvalue.h"

namespace vlr {

namespace {

// A fixed-capacity text; escaped ones are the notebook comments.
struct Capped {
    QString& value;
    int capacity;
    bool escaped = false;
};

// Every key of section "Options" in record order, with the field it holds.
// The two options kept outside the file have no key.
template <class Visit> void forEachOptionKey(TVLROptions& o, Visit&& v) {
    v("DefFontName", o.DefFontName);
    v("DefFontSize", o.DefFontSize);
    v("DefFontColor", o.DefFontColor);
    v("DefFontStyle", o.DefFontStyle);
    v("DefFontCharset", o.DefFontCharset);
    v("DefEditorBack", o.DefEditorBack);
    v("DefParaAlign", o.DefParaAlign);
    v("DefFirstIndent", o.DefFirstIndent);
    v("DefLeftIndent", o.DefLeftIndent);
    v("DefRightIndent", o.DefRightIndent);
    v("DefSpaceBefore", o.DefSpaceBefore);
    v("DefSpaceAfter", o.DefSpaceAfter);
    v("DefLineSpacing", o.DefLineSpacing);
    v("DefLineSpacingValue", o.DefLineSpacingValue);
    v("DefNodeImageIndex", o.DefNodeImageIndex);
    v("DefNodeFontStyle", o.DefNodeFontStyle);
    v("DefNodeFontColor", o.DefNodeFontColor);
    v("DefNodeFontBack", o.DefNodeFontBack);
    v("PlainFontName", o.PlainFontName);
    v("PlainFontSize", o.PlainFontSize);
    v("PlainFontColor", o.PlainFontColor);
    v("PlainFontStyle", o.PlainFontStyle);
    v("PlainFontCharset", o.PlainFontCharset);
    v("DefResSize", o.DefResSize);
    v("DefCompress", o.DefCompress);
    v("DefEncrypt", o.DefEncrypt);
    v("DefAwayMinutes", o.DefAwayMinutes);
    v("DefRootImageIndex", o.DefRootImageIndex);
    v("DefRootFontStyle", o.DefRootFontStyle);
    v("DefRootFontColor", o.DefRootFontColor);
    v("DefRootFontBack", o.DefRootFontBack);
    v("DefAuthorName", Capped{o.DefAuthorName, TVLROptions::kAuthorNameMax});
    v("DefCompany", Capped{o.DefCompany, TVLROptions::kCompanyMax});
    v("DefComments", Capped{o.DefComments, TVLROptions::kCommentsMax, true});
    v("TreeFontName", o.TreeFontName);
    v("TreeFontCharset", o.TreeFontCharset);
    v("TreeFontSize", o.TreeFontSize);
    v("TreeBackColor", o.TreeBackColor);
    v("TreeShowLines", o.TreeShowLines);
    v("TreeHotTrack", o.TreeHotTrack);
    v("TreeAutoCollapse", o.TreeAutoCollapse);
    v("TreeAutoExpand", o.TreeAutoExpand);
    v("TreeAsPanel", o.TreeAsPanel);
    v("TreeDrawChildCount", o.TreeDrawChildCount);
    v("ShowTipOfTheDay", o.ShowTipOfTheDay);
    v("DefMarginTop", o.DefMarginTop);
    v("DefMarginLeft", o.DefMarginLeft);
    v("DefMarginRight", o.DefMarginRight);
    v("DefMarginBottom", o.DefMarginBottom);
    v("EditorWordWrap", o.EditorWordWrap);
    v("EditorWordSel", o.EditorWordSel);
    v("EditorAutoURL", o.EditorAutoURL);
    v("EditorApplyWord", o.EditorApplyWord);
    v("EditorAutoFocus", o.EditorAutoFocus);
    v("EditorTabJump", o.EditorTabJump);
    v("EditorPaintFonts", o.EditorPaintFonts);
    v("DisableNonTrueType", o.DisableNonTrueType);
    v("EditorURLDblClick", o.EditorURLDblClick);
    v("EditorURLModifier", o.EditorURLModifier);
    v("EditorURLSingleClick", o.EditorURLSingleClick);
    v("EditorURLRightMenu", o.EditorURLRightMenu);
    v("EditorFormatDate", o.EditorFormatDate);
    v("EditorFormatTime", o.EditorFormatTime);
    v("EditorFormatDateTime", o.EditorFormatDateTime);
    v("EditorUseDefault", o.EditorUseDefault);
    v("MinimizeOnClose", o.MinimizeOnClose);
    v("MinimizeToTray", o.MinimizeToTray);
    v("MinimizeOnStart", o.MinimizeOnStart);
    v("StealthOnMinimize", o.StealthOnMinimize);
    v("AutoLoadPrevious", o.AutoLoadPrevious);
    v("MinimizeByESC", o.MinimizeByESC);
    v("EnableHotKey", o.EnableHotKey);
    v("ActivateHotKey", o.ActivateHotKey);
    v("PlusWin", o.PlusWin);
    v("FreeUnusedRes", o.FreeUnusedRes);
    v("AwayOnStealth", o.AwayOnStealth);
    v("SaveOnMinimize", o.SaveOnMinimize);
    v("PackOnExit", o.PackOnExit);
    v("AutoSaveOnExit", o.AutoSaveOnExit);
    v("BackupOnPack", o.BackupOnPack);
    v("AutoSaveMinutes", o.AutoSaveMinutes);
    v("EnableAutoSave", o.EnableAutoSave);
    v("BackupPath", o.BackupPath);
    v("PackOn30Percent", o.PackOn30Percent);
    v("DefaultPath", o.DefaultPath);
    v("SaveCursor", o.SaveCursor);
    v("SeparatorFormat", o.SeparatorFormat);
    v("SeparatorUseCurrentFont", o.SeparatorUseCurrentFont);
    v("SeparatorFontName", o.SeparatorFontName);
    v("SeparatorCharset", o.SeparatorCharset);
    v("SeparatorFontStyle", o.SeparatorFontStyle);
    v("SeparatorFontSize", o.SeparatorFontSize);
    v("SeparatorFontColor", o.SeparatorFontColor);
    v("SeparatorFontBack", o.SeparatorFontBack);
    v("AskSaveChanges", o.AskSaveChanges);
    v("AskDelNote", o.AskDelNote);
    v("AskCompress", o.AskCompress);
    v("AskProtect", o.AskProtect);
    v("AskHide", o.AskHide);
    v("AskNoPrinter", o.AskNoPrinter);
    v("AskNoRichEdit", o.AskNoRichEdit);
    v("InsertSymbolFont", o.InsertSymbolFont);
    v("HeaderFormat", o.HeaderFormat);
    v("FooterFormat", o.FooterFormat);
    v("FHFontName", o.FHFontName);
    v("FHFontSize", o.FHFontSize);
    v("FHFontStyle", o.FHFontStyle);
    v("FHFontCharset", o.FHFontCharset);
    v("FHFontColor", o.FHFontColor);
    v("MarginLines", o.MarginLines);
    v("HeaderAlign", o.HeaderAlign);
    v("FooterAlign", o.FooterAlign);
    v("ClipMaxSize", o.ClipMaxSize);
    v("ColReverseDND", o.ColReverseDND);
    v("ColCatchUrl", o.ColCatchUrl);
    v("ColCatchTop", o.ColCatchTop);
    v("ColLayered", o.ColLayered);
    v("ColBackColor", o.ColBackColor);
}

class KeyReader {
public:
    KeyReader(const TSettingsSection& section) : m_s(section), m_decimal(systemDecimalSeparator()) {}

    void operator()(const char* key, QString& v) { v = m_s.readString(QLatin1StringView(key), v); }
    void operator()(const char* key, int& v) { v = parseProfileInteger(text(key), v); }
    void operator()(const char* key, quint8& v) {
        v = static_cast<quint8>(parseProfileInteger(text(key), v));
    }
    void operator()(const char* key, quint32& v) { v = parseProfileColor(text(key), v); }
    void operator()(const char* key, bool& v) { v = parseProfileBool(text(key), v); }
    void operator()(const char* key, double& v) { v = parseProfileFloat(text(key), v, m_decimal); }
    void operator()(const char* key, QKeySequence& v) {
        if (m_s.contains(QLatin1StringView(key)))
            v = hotKeyFromText(text(key));
    }
    void operator()(const char* key, Capped c) {
        if (!m_s.contains(QLatin1StringView(key)))
            return;
        const QString raw = text(key);
        c.value = cutToCapacity(c.escaped ? unescapeComments(raw) : raw, c.capacity);
    }

private:
    QString text(const char* key) const { return m_s.readString(QLatin1StringView(key)); }

    const TSettingsSection& m_s;
    QString m_decimal;
};

class KeyWriter {
public:
    KeyWriter() : m_decimal(systemDecimalSeparator()) {}

    void operator()(const char* key, const QString& v) { add(key, v); }
    void operator()(const char* key, int& v) { add(key, QString::number(v)); }
    void operator()(const char* key, quint8& v) { add(key, QString::number(v)); }
    void operator()(const char* key, quint32& v) { add(key, formatProfileColor(v)); }
    void operator()(const char* key, bool& v) { add(key, formatProfileBool(v)); }
    void operator()(const char* key, double& v) { add(key, formatProfileFloat(v, m_decimal)); }
    void operator()(const char* key, QKeySequence& v) { add(key, hotKeyText(v)); }
    void operator()(const char* key, Capped c) {
        const QString v = cutToCapacity(c.value, c.capacity);
        add(key, c.escaped ? escapeComments(v) : v);
    }

    const TSettingsEntries& entries() const { return m_entries; }

private:
    void add(const char* key, const QString& value) { m_entries.append({QString::fromLatin1(key), value}); }

    TSettingsEntries m_entries;
    QString m_decimal;
};

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

QString escapeComments(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() < 32 || c == u'#')
            out += u'#' + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
        else
            out += c;
    }
    return out;
}

QString unescapeComments(const QString& text) {
    if (!text.contains(u'#'))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'#' && i + 2 < text.size()) {
            const int hi = hexDigit(text[i + 1]);
            const int lo = hexDigit(text[i + 2]);
            out += (hi < 0 || lo < 0) ? QChar(u' ') : QChar(char16_t(hi * 16 + lo));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

QString hotKeyText(const QKeySequence& key) {
    return key.isEmpty() ? QString() : key.toString(QKeySequence::PortableText);
}

QKeySequence hotKeyFromText(const QString& text) {
    // Names some files carry for keys Qt spells otherwise.
    QString t = text.trimmed();
    if (t.endsWith(QLatin1StringView("BkSp"), Qt::CaseInsensitive))
        t = t.chopped(4) + QLatin1StringView("Backspace");
    else if (t.endsWith(QLatin1StringView("PgDn"), Qt::CaseInsensitive))
        t = t.chopped(4) + QLatin1StringView("PgDown");
    const QKeySequence seq = QKeySequence::fromString(t, QKeySequence::PortableText);
    if (seq.count() != 1 || seq[0].key() == Qt::Key_unknown || seq[0].key() == 0)
        return {};
    return seq;
}

void readOptions(const TSettingsFile& file, TVLROptions& options, const TDesktopIntegration& desktop) {
    const TSettingsSection section = file.readSection(kOptionsSection);
    KeyReader reader(section);
    forEachOptionKey(options, reader);
    options.AutoRunWithWindows = desktop.autoRun();
    options.AssociateWithVLR = desktop.associated();
}

void writeOptions(TSettingsFile& file, const TVLROptions& options, TDesktopIntegration& desktop) {
    TVLROptions copy = options;
    KeyWriter writer;
    forEachOptionKey(copy, writer);
    file.writeValues(kOptionsSection, writer.entries());
    desktop.setAutoRun(options.AutoRunWithWindows);
    desktop.setAssociated(options.AssociateWithVLR);
}

} // namespace vlr
