#include "platform/form.h"

#include "platform/twips.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace zol {

namespace {
QList<Form*>& registry()
{
    static QList<Form*> forms;
    return forms;
}
} // namespace

Form::Form(const QString& name) : QWidget(nullptr)
{
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose, false);
    surface_.setOwner(this);
    registry().append(this);
}

Form::~Form()
{
    registry().removeAll(this);
    if (detach_)
        detach_();
    if (modalLoop_)
        modalLoop_->quit();
}

void Form::runLoad()
{
    Form_Load();
}

void Form::Show(int modal)
{
    if (unloaded_)
        return;
    if (modal != vbModal) {
        show();
        raise();
        activateWindow();
        return;
    }
    if (modalLoop_) {  // already shown modally: bring it forward
        raise();
        activateWindow();
        return;
    }
    if (isVisible())
        hide();
    setWindowModality(Qt::ApplicationModal);
    QPointer<Form> self(this);
    QEventLoop loop;
    modalLoop_ = &loop;
    show();
    raise();
    activateWindow();
    loop.exec(QEventLoop::DialogExec);
    if (self) {
        self->modalLoop_ = nullptr;
        if (!self->isVisible())
            self->setWindowModality(Qt::NonModal);
    }
}

void Form::Hide()
{
    hide();
}

void Form::Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    Form_Unload();
    registry().removeAll(this);
    if (detach_)
        detach_();
    hide();
    if (modalLoop_)
        modalLoop_->quit();
    deleteLater();
}

void Form::setClientSize(int width, int height, bool fixed)
{
    if (fixed)
        setFixedSize(tw(width), tw(height));
    else
        resize(tw(width), tw(height));
}

void Form::setFixedDialogBorder()
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
}

void Form::centerOnScreen()
{
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
}

QList<Form*> Form::loadedForms()
{
    return registry();
}

void Form::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    surface_.paint(p);
}

void Form::hideEvent(QHideEvent* e)
{
    QWidget::hideEvent(e);
    if (!e->spontaneous() && modalLoop_)
        modalLoop_->quit();
}

void Form::closeEvent(QCloseEvent* e)
{
    if (unloaded_) {
        e->accept();
        return;
    }
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) {
        e->ignore();
        return;
    }
    Unload();
    e->accept();
}

} // namespace zol
