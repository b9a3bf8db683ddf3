// A scripted stand-in for the program's dialog service, for the tests, the
// bench and the helper programs.
#pragma once

#include "platform/dialogs.h"

namespace zol {

// A stand-in for tests: answers message boxes from a queue (OK when the
// queue is empty), input boxes and file dialogs likewise (cancel when empty),
// and keeps every call. Installs itself for its lifetime.
class ScriptedDialogs : public DialogService {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    QList<DialogCall> calls;
    QList<int> messageAnswers;    // vbOK / vbCancel, taken from the front
    QStringList inputAnswers;     // a null QString() means cancel
    QStringList fileAnswers;      // empty means cancel

    int message(const QString& prompt, int style, const QString& title) override;
    bool input(const QString& prompt, const QString& title, const QString& defaultText,
               QString* answer) override;
    QString openFile(const QString& title, const QString& filter) override;
    QString saveFile(const QString& title, const QString& filter,
                     const QString& proposed) override;

    // Convenience for tests.
    int count() const { return calls.size(); }
    DialogCall last() const { return calls.isEmpty() ? DialogCall{} : calls.last(); }
    QStringList prompts() const;
    void clear() { calls.clear(); }

private:
    DialogService* previous_ = nullptr;
};

} // namespace zol
