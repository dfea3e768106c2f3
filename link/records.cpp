#include "link/records.h"

#include <QRegExp>

#include <algorithm>

namespace records
{

std::array<const Setting *, settingCount> settingsInReadOrder()
{
    std::array<const Setting *, settingCount> order{};
    for (const Setting &setting : settings)
        order[std::size_t(setting.readPosition - 1)] = &setting;
    return order;
}

char checkCharacter(const QByteArray &bytes)
{
    unsigned sum = 0; // wraps modulo 2^32, a multiple of 64
    for (char byte : bytes)
        sum += static_cast<unsigned char>(byte);
    return char(0x20 + (sum % 64));
}

QString checkedReply(const QString &data)
{
    const int length = data.length();
    if (length < 3)
        return QString::fromLatin1(rejectedReply);
    const QString payload = data.left(length - 3);
    const QChar received = data.at(length - 3);
    if (received.unicode() != static_cast<unsigned char>(checkCharacter(payload.toUtf8())))
        return QString::fromLatin1(rejectedReply);
    if (!data.startsWith(QLatin1String(modulePrefix)))
        return QString::fromLatin1(rejectedReply);
    return payload;
}

QString configurationString(const QString &moduleName, const QStringList &valuesInWriteOrder)
{
    // Plain appends: a value holding "%3" or the like goes out as it is,
    // never taken for a placeholder of the next one.
    QString text = QStringLiteral("c") + moduleName;
    for (const QString &value : valuesInWriteOrder) {
        text += QLatin1Char(' ');
        text += value;
    }
    text += QLatin1Char(' ');
    return text;
}

QByteArray configurationFrame(const QString &configuration)
{
    QByteArray frame = configuration.toUtf8();
    frame += checkCharacter(frame);
    frame += '\n';
    return frame;
}

QStringList replyValues(const QString &conf, int moduleNameLength)
{
    // QString::right gives the whole text for a negative count.
    const QString values = conf.right(conf.length() - moduleNameLength - 1);
    return values.split(QRegExp(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

QStringList inWriteOrder(const QStringList &valuesInReadOrder)
{
    if (valuesInReadOrder.size() != settingCount)
        return {};
    QStringList values;
    for (const Setting &setting : settings)
        values.append(valuesInReadOrder.at(setting.readPosition - 1));
    return values;
}

} // namespace records
