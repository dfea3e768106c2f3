#include "editor/rangecheck.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QString>

namespace editor
{
namespace
{

// The message of one kind of field; its bounds are the range's own.
struct RangeMessage {
    records::Range range;
    const char *text;
    const char *unit; // after the bounds, e.g. " (ms)"
};

constexpr RangeMessage rangeMessages[] = {
    {records::frameIdRange, "L'identifiant est en dehors des limites.", ""},
    {records::periodRange, "La periode est en dehors des limites.", " (ms)"},
    {records::zoneOffsetRange, "Le décalage horaire est en dehors des limites.", ""},
    {records::firstIdRange, "L'identifiant est en dehors des limites.", ""},
    {records::idOffsetRange, "L'offset est en dehors des limites.", ""},
};

constexpr const RangeMessage *messageOf(const records::Range &range)
{
    for (const RangeMessage &message : rangeMessages)
        // By the bounds, which differ from one range to another: GCC's UBSan
        // makes no constant expression of a test of two addresses.
        if (message.range.lowest == range.lowest && message.range.highest == range.highest)
            return &message;
    return nullptr;
}

constexpr bool everyNumberHasMessage()
{
    for (const records::Setting &setting : records::settings)
        if (setting.kind == records::Kind::Number && !messageOf(*setting.range))
            return false;
    return true;
}
static_assert(everyNumberHasMessage(), "a range message for the range of every number");

// Set while a range message is up and until its field has the focus back. The
// box is application-modal, so no user action can end an edit meanwhile.
bool rangeMessageUp = false;

} // namespace

qint64 valueOf(const QString &text, const records::Range &range)
{
    return range.lowest < 0 ? qint64(text.toInt(nullptr, 10)) : qint64(text.toUInt(nullptr, 10));
}

bool acceptOrReport(const records::Range &range, qint64 value)
{
    if (range.lowest <= value && value <= range.highest)
        return true;
    const RangeMessage &texts = *messageOf(range);
    QMessageBox message;
    message.setText(QString::fromUtf8(texts.text));
    message.setInformativeText(QStringLiteral("La valeur doit être comprise entre %1 et %2%3")
                                   .arg(range.lowest)
                                   .arg(range.highest)
                                   .arg(QLatin1String(texts.unit)));
    message.exec();
    return false;
}

void checkField(QLineEdit &field, const records::Range &range,
                const std::function<bool(qint64)> &judge)
{
    if (rangeMessageUp)
        return;
    const QScopedValueRollback<bool> guard(rangeMessageUp, true);
    const qint64 value = valueOf(field.text(), range);
    if (judge ? judge(value) : acceptOrReport(range, value))
        return;
    field.setFocus(Qt::OtherFocusReason);
    field.selectAll();
}

} // namespace editor
