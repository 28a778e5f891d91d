// A developer's window around the rich-text control: opens an RTF (or text)
// file, shows it, lets it be edited and saves it back.
//   rtf_edit_tool [FILE] [--shot PNG] [--save OUT] [--zoom PERCENT] [--size WxH]
// --shot draws the window into a PNG and quits; --save writes the content
// (as the control streams it) to OUT and quits.
#include "core/error.h"
#include "editor/richedit.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTimer>

using namespace vlr;

namespace {

class ToolWindow : public QMainWindow {
public:
    ToolWindow() {
        m_editor = new TMyRichEdit(this);
        m_editor->SetSelectionBar(true);
        m_editor->SetAutoURLDetect(true);
        m_editor->SetUndoLimit(100);
        setCentralWidget(m_editor);
        auto* file = menuBar()->addMenu(QStringLiteral("&File"));
        file->addAction(QStringLiteral("&Open..."), QKeySequence::Open, this, [this] {
            const QString name = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                              QStringLiteral("RTF (*.rtf);;All (*)"));
            if (!name.isEmpty())
                open(name);
        });
        file->addAction(QStringLiteral("&Save"), QKeySequence::Save, this, [this] {
            if (!m_path.isEmpty())
                save(m_path);
        });
        file->addAction(QStringLiteral("Save &as..."), this, [this] {
            const QString name = QFileDialog::getSaveFileName(this);
            if (!name.isEmpty())
                save(name);
        });
        auto* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
        edit->addAction(QStringLiteral("&Find..."), QKeySequence::Find, this,
                        [this] { m_editor->FindDialog(); });
        edit->addAction(QStringLiteral("&Replace..."), QKeySequence::Replace, this,
                        [this] { m_editor->ReplaceDialog(); });
        edit->addAction(QStringLiteral("Plain &text mode"), this,
                        [this] { m_editor->SetPlainText(!m_editor->PlainText()); });
        m_status = new QLabel(this);
        statusBar()->addWidget(m_status);
        m_editor->OnSelectionChange = [this](TMyCustomRichEdit* e) {
            const QPoint p = e->CaretPos();
            m_status->setText(QStringLiteral("Line %1  Col %2  %3%4")
                                  .arg(p.y() + 1)
                                  .arg(p.x() + 1)
                                  .arg(e->Modified() ? QStringLiteral("modified  ") : QString())
                                  .arg(e->ZoomPercent()));
        };
        m_editor->OnURLClick = [this](TMyCustomRichEdit*, TCharRange, const QString& text, TMouseButton,
                                      Qt::KeyboardModifiers, bool dbl) {
            statusBar()->showMessage(QStringLiteral("%1 link: %2").arg(dbl ? "double" : "single", text),
                                     3000);
        };
        m_editor->OnTextNotFound = [this](TMyCustomRichEdit*, const QString& text) {
            statusBar()->showMessage(QStringLiteral("not found: %1").arg(text), 3000);
        };
    }

    TMyRichEdit* editor() { return m_editor; }

    bool open(const QString& path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            QMessageBox::warning(this, QString(), f.errorString());
            return false;
        }
        try {
            m_editor->LoadFromStream(f);
        } catch (const EVellinorError& e) {
            QMessageBox::warning(this, QString(), e.text());
            return false;
        }
        m_path = path;
        setWindowTitle(path);
        return true;
    }

    bool save(const QString& path) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            QMessageBox::warning(this, QString(), f.errorString());
            return false;
        }
        try {
            m_editor->SaveToStream(f);
        } catch (const EVellinorError& e) {
            QMessageBox::warning(this, QString(), e.text());
            return false;
        }
        m_editor->SetModified(false);
        return true;
    }

private:
    TMyRichEdit* m_editor;
    QLabel* m_status;
    QString m_path;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("RTF or text file to open"));
    const QCommandLineOption shot(
        QStringLiteral("shot"), QStringLiteral("Write a PNG of the window and quit."), QStringLiteral("png"));
    const QCommandLineOption saveTo(QStringLiteral("save"),
                                    QStringLiteral("Save the content to a file and quit."),
                                    QStringLiteral("out"));
    const QCommandLineOption zoom(QStringLiteral("zoom"), QStringLiteral("Zoom percent."),
                                  QStringLiteral("percent"));
    const QCommandLineOption size(QStringLiteral("size"), QStringLiteral("Window size WxH."),
                                  QStringLiteral("size"));
    parser.addOptions({shot, saveTo, zoom, size});
    parser.process(app);

    ToolWindow w;
    QSize s(900, 700);
    if (parser.isSet(size)) {
        const QStringList wh = parser.value(size).split(u'x');
        if (wh.size() == 2)
            s = QSize(wh[0].toInt(), wh[1].toInt());
    }
    w.resize(s);
    const QStringList files = parser.positionalArguments();
    if (!files.isEmpty() && !w.open(files.first()))
        return 1;
    if (parser.isSet(zoom))
        w.editor()->SetZoomPercent(parser.value(zoom).toInt());
    w.show();
    if (parser.isSet(saveTo) && !w.save(parser.value(saveTo)))
        return 1;
    if (parser.isSet(shot)) {
        QTimer::singleShot(300, &app, [&] {
            w.grab().save(parser.value(shot));
            app.quit();
        });
        return app.exec();
    }
    if (parser.isSet(saveTo))
        return 0;
    return app.exec();
}
