#include "tests/support/scripteddialogs.h"

namespace zol {

ScriptedDialogs::ScriptedDialogs()
{
    previous_ = installedDialogService();
    setDialogService(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    if (installedDialogService() == this)
        setDialogService(previous_);
}

int ScriptedDialogs::message(const QString& prompt, int style, const QString& title)
{
    calls.append({DialogCall::Message, prompt, title, style, QString(), QString()});
    return messageAnswers.isEmpty() ? vbOK : messageAnswers.takeFirst();
}

bool ScriptedDialogs::input(const QString& prompt, const QString& title, const QString&,
                            QString* answer)
{
    calls.append({DialogCall::Input, prompt, title, 0, QString(), QString()});
    if (inputAnswers.isEmpty())
        return false;
    const QString a = inputAnswers.takeFirst();
    if (a.isNull())
        return false;
    if (answer)
        *answer = a;
    return true;
}

QString ScriptedDialogs::openFile(const QString& title, const QString& filter)
{
    calls.append({DialogCall::OpenFile, title, title, 0, filter, QString()});
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QString ScriptedDialogs::saveFile(const QString& title, const QString& filter,
                                  const QString& proposed)
{
    calls.append({DialogCall::SaveFile, title, title, 0, filter, proposed});
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

QStringList ScriptedDialogs::prompts() const
{
    QStringList p;
    for (const auto& c : calls)
        p << c.prompt;
    return p;
}

} // namespace zol
