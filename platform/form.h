// The window model: every window is a class with one default instance.
//
// The instance is created by the first reference of any kind (reading or
// writing a control as well as showing it), and its load step Form_Load runs
// at that moment. Show() is modeless; Show(vbModal) returns when the window
// is hidden or unloaded. Unload() destroys the window; the next reference
// loads it afresh.
//
//     class Frmzol2Form : public zol::Form { ... };
//     inline Frmzol2Form& frmzol2() { return zol::DefaultForm<Frmzol2Form>::get(); }
//
//     frmzol2().Show();                       // loads on first use
//     zol::DefaultForm<Frmzol2Form>::unload(); // unloads only when loaded
#pragma once

#include "platform/surface.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>

class QEventLoop;

namespace zol {

constexpr int vbModeless = 0;
constexpr int vbModal = 1;

class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(const QString& name);
    ~Form() override;

    void Show(int modal = vbModeless);
    void Hide();
    void Unload();

    bool isUnloaded() const { return unloaded_; }
    bool isShownModally() const { return modalLoop_ != nullptr; }
    QString formName() const { return objectName(); }

    // Size of the client area in twips. Fixed windows cannot be resized.
    void setClientSize(int width, int height, bool fixed = true);
    // A fixed single border without minimise and maximise buttons.
    void setFixedDialogBorder();
    void centerOnScreen();

    // What is drawn on the window itself (beneath its controls).
    Surface& surface() { return surface_; }

    // Every window that is loaded and not yet unloaded, in load order.
    static QList<Form*> loadedForms();

    // Called once by DefaultForm after construction.
    void runLoad();
    void setDetach(std::function<void()> detach) { detach_ = std::move(detach); }

protected:
    // The load step: runs once, at the first reference.
    virtual void Form_Load() {}
    // Runs when the window is unloaded, by code or by its close box.
    virtual void Form_Unload() {}
    // The close box of the title bar: set cancel to keep the window.
    virtual void Form_QueryUnload(bool& cancel) { Q_UNUSED(cancel); }

    void paintEvent(QPaintEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    Surface surface_;
    QEventLoop* modalLoop_ = nullptr;
    bool unloaded_ = false;
    std::function<void()> detach_;
};

// The default instance of a window class.
template <class T>
class DefaultForm {
public:
    static T& get()
    {
        if (!instance_) {
            T* f = new T();
            instance_ = f;
            f->setDetach([f] {
                if (instance_ == f)
                    instance_ = nullptr;
            });
            f->runLoad();
        }
        return *instance_;
    }
    static bool loaded() { return instance_ != nullptr; }
    // Unloads the window when it is loaded; does nothing otherwise.
    static void unload()
    {
        if (instance_)
            instance_->Unload();
    }

private:
    inline static T* instance_ = nullptr;
};

// Default windows in lists, by their types: unloadOf<T> unloads the window
// only when it is loaded; loadedWindow<T> gives it when it is loaded and
// nullptr otherwise, without loading it.
using WindowUnload = void (*)();
template <class T>
constexpr WindowUnload unloadOf = &DefaultForm<T>::unload;

using LoadedWindow = Form* (*)();
template <class T>
Form* loadedWindow()
{
    return DefaultForm<T>::loaded() ? &DefaultForm<T>::get() : nullptr;
}

} // namespace zol
