#include "app/notebook_defaults.h"

namespace vlr {

NewNotebookDefaults newNotebookDefaults(const TVLROptions& o) {
    NewNotebookDefaults d;
    d.reserveSize = o.DefResSize;
    d.rootImageIndex = int16_t(o.DefRootImageIndex);
    d.rootFontColor = int32_t(o.DefRootFontColor);
    d.rootFontStyle = o.DefRootFontStyle;
    d.rootBackColor = int32_t(o.DefRootFontBack);
    d.author = o.DefAuthorName.left(TVLROptions::kAuthorNameMax);
    d.company = o.DefCompany.left(TVLROptions::kCompanyMax);
    d.comments = o.DefComments.left(TVLROptions::kCommentsMax);
    d.marginTop = o.DefMarginTop;
    d.marginLeft = o.DefMarginLeft;
    d.marginRight = o.DefMarginRight;
    d.marginBottom = o.DefMarginBottom;
    d.autoSaveMinutes = o.AutoSaveMinutes;
    d.autoSaveEnabled = o.EnableAutoSave;
    d.defNodeImageIndex = o.DefNodeImageIndex;
    d.compress = o.DefCompress;
    return d;
}

NewNoteDefaults newNoteDefaults(const TVLROptions& o) {
    NewNoteDefaults d;
    d.fontColor = int32_t(o.DefNodeFontColor);
    d.fontStyle = o.DefNodeFontStyle;
    d.editorColor = int32_t(o.DefEditorBack);
    d.backColor = int32_t(o.DefNodeFontBack);
    d.headerFormat = o.HeaderFormat;
    d.footerFormat = o.FooterFormat;
    d.fhFontName = o.FHFontName;
    d.fhFontSize = o.FHFontSize;
    d.fhFontStyle = o.FHFontStyle;
    d.fhFontCharset = o.FHFontCharset;
    d.fhFontColor = int32_t(o.FHFontColor);
    d.marginLines = o.MarginLines;
    d.headerAlign = o.HeaderAlign;
    d.footerAlign = o.FooterAlign;
    return d;
}

} // namespace vlr
