#pragma once
// pmImage: the menu opened by a right click on a node's picture. An entry
// for no picture, the palette of the notebook's pictures with the node's
// current one marked, and the entry that opens the notebook's visual
// properties (a command owned elsewhere).
#include "storage/images/image_list.h"

#include <QMenu>

namespace vlr {

class TImagePalette;

class TNodeImageMenu : public QMenu {
    Q_OBJECT
public:
    explicit TNodeImageMenu(QWidget* parent = nullptr);

    // NoteRootNoImage.
    QAction* NoImageAction() const { return m_noImage; }
    // The visual-properties entry; none leaves it out.
    void SetImagesAction(QAction* action);
    // The palette is rebuilt only when the pictures differ from the ones
    // shown last.
    void Prepare(const TMyImageList& images, int current);
    TImagePalette* Palette() const { return m_palette; }
    // Whether the last Prepare rebuilt the palette.
    bool Rebuilt() const { return m_rebuilt; }

signals:
    // A palette cell was clicked: row times the palette's columns plus column.
    void imageChosen(int index);

private:
    QAction* m_noImage;
    QAction* m_paletteAction;
    QAction* m_separator;
    QAction* m_imagesAction = nullptr;
    TImagePalette* m_palette;
    bool m_shownOnce = false;
    bool m_rebuilt = false;
};

} // namespace vlr
