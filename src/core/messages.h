#pragma once
// The one way lower layers talk to the user. The GUI installs a service that
// shows message boxes; the command-line tool prints to standard error; tests
// install a scripted answerer that records what was shown.
#include <QString>

namespace vlr {

enum class MsgIcon { None, Information, Warning, Error, Question };

// Buttons as a bit set; the answer is one of them.
enum MsgButton : int {
    MbOk = 0x1,
    MbCancel = 0x2,
    MbYes = 0x4,
    MbNo = 0x8,
    MbAbort = 0x10,
    MbRetry = 0x20,
    MbIgnore = 0x40,
};

// A check box under the text. The service shows it with the given state and
// writes the state back when the box closes; a service that cannot show one
// leaves it as it was.
struct MessageCheckBox {
    QString text;
    bool checked = false;
};

// The order buttons of a set are offered in; the first offered is the default.
inline constexpr MsgButton kButtonOrder[] = {MbOk, MbYes, MbNo, MbAbort, MbRetry, MbIgnore, MbCancel};

struct MessageRequest {
    QString text;
    QString caption;
    MsgIcon icon = MsgIcon::None;
    int buttons = MbOk;
    int defaultButton = 0; // 0: the first button offered
    // Optional; owned by the caller and valid only while show() runs.
    MessageCheckBox* checkBox = nullptr;
};

class MessageService {
public:
    virtual ~MessageService() = default;
    // Returns the button pressed.
    virtual int show(const MessageRequest& request) = 0;
};

// Prints "caption: text" on standard error and answers with the default button.
class StderrMessageService final : public MessageService {
public:
    int show(const MessageRequest& request) override;
};

// The process-wide service; a StderrMessageService until one is installed.
MessageService& messageService();
// Installs a service (not owned); nullptr restores the default. Returns the previous one.
MessageService* setMessageService(MessageService* service);

int showMessage(const QString& text, const QString& caption, MsgIcon icon = MsgIcon::None, int buttons = MbOk,
                int defaultButton = 0);

// The default answer of a request: its default button when it is in the set,
// else the first button offered (OK for an empty set).
int defaultAnswer(const MessageRequest& request);

// The check box of the ask-once question.
inline const QString kConfirmOnceCheckBox = QStringLiteral("Больше не спрашивать");

// A question the user may switch off. With askFlag false nothing is shown and
// the answer is true. Otherwise the text is shown with OK (and Cancel when
// buttons holds MbCancel) and the check box; the answer is whether OK was
// pressed. Only a confirmed question is switched off (askFlag := false when
// the box was ticked and OK pressed): switching it off makes every later
// answer OK, which must not follow from a Cancel.
bool ConfirmOnce(const QString& caption, const QString& text, bool& askFlag, int buttons, MsgIcon icon);

// Message texts carry Windows line breaks ("\r\n", sometimes a lone "\r");
// widgets want "\n".
QString withLineBreaks(const QString& text);

} // namespace vlr
