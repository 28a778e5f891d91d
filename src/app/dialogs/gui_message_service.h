#pragma once
// The message service of the running program: a message box owned by the
// application's active window.
#include "core/messages.h"

class QAbstractButton;
class QMessageBox;
class QWidget;

namespace vlr {

class TGuiMessageService final : public MessageService {
public:
    int show(const MessageRequest& request) override;
};

// The message box for a request, not yet shown: caption, plain text with its
// line breaks, icon, the buttons with Russian texts, the default and escape
// buttons and the check box (whose state is not written back here).
QMessageBox* createMessageBox(const MessageRequest& request, QWidget* owner);
// The answer a button of a box made by createMessageBox stands for.
int messageAnswer(const QMessageBox& box, const QAbstractButton* pressed);

} // namespace vlr
