#include "tree/image_menu.h"

#include "tree/image_palette.h"

#include <QWidgetAction>

namespace vlr {

TNodeImageMenu::TNodeImageMenu(QWidget* parent) : QMenu(parent) {
    setObjectName(QStringLiteral("pmImage"));
    m_noImage = addAction(QStringLiteral("Без картинки"));
    m_noImage->setObjectName(QStringLiteral("NoteRootNoImage"));
    addSeparator();
    m_palette = new TImagePalette(this);
    m_palette->setObjectName(QStringLiteral("ImgNotebook"));
    auto* holder = new QWidgetAction(this);
    holder->setDefaultWidget(m_palette);
    m_paletteAction = holder;
    addAction(holder);
    m_separator = addSeparator();
    m_separator->setVisible(false);
    connect(m_palette, &TImagePalette::cellClicked, this, [this](int row, int column) {
        const int index = row * m_palette->Columns() + column;
        close();
        emit imageChosen(index);
    });
}

void TNodeImageMenu::SetImagesAction(QAction* action) {
    if (m_imagesAction)
        removeAction(m_imagesAction);
    m_imagesAction = action;
    if (action)
        addAction(action);
    m_separator->setVisible(action != nullptr);
}

void TNodeImageMenu::Prepare(const TMyImageList& images, int current) {
    m_rebuilt = !m_shownOnce || !(images == m_palette->Images());
    if (m_rebuilt) {
        m_palette->SetImages(images);
        m_shownOnce = true;
    }
    m_palette->SetCurrent(current);
    m_paletteAction->setVisible(images.Count() > 0);
}

} // namespace vlr
