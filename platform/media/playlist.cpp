#include "playlist.h"

#include <QRegularExpression>
#include <QUrl>

namespace zol {

QString asxFirstStream(const QByteArray& playlist)
{
    // Tags and attribute names of the format are case-blind; values come in
    // double, single or no quotes.
    static const QRegularExpression ref(
        QString::fromLatin1(R"re(<\s*ref\b[^>]*?\bhref\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>"']+)))re"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = ref.match(QString::fromUtf8(playlist));
    if (!m.hasMatch())
        return QString();
    QString address;
    for (int group = 1; group <= 3 && address.isEmpty(); ++group)
        address = m.captured(group);
    return address.trimmed().replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

bool isAsxAddress(const QString& fileOrAddress)
{
    // A web address may carry a query after its path.
    const QString path = fileOrAddress.contains(QLatin1String("://")) ? QUrl(fileOrAddress).path()
                                                                      : fileOrAddress;
    return path.endsWith(QLatin1String(".asx"), Qt::CaseInsensitive);
}

} // namespace zol
