#include "qt/editlimit.h"

#include <QLineEdit>
#include <QVariant>

#include <algorithm>

namespace {
constexpr char kLimitProperty[] = "decagonTypedTextLimit";
// Room that the field's frame and text margins take, in pixels, at most.
constexpr int kTextMargins = 8;

int TypedTextLimit(const QLineEdit* edit)
{
    const QVariant limit = edit->property(kLimitProperty);
    return limit.isValid() ? limit.toInt() : -1;
}

// The line edit's own limit applies to typing and pasting, and to setText:
// keep it at the typed-text limit or at the length of the text shown,
// whichever is larger.
void FitLimitToText(QLineEdit* edit)
{
    const int limit = TypedTextLimit(edit);
    if (limit >= 0)
        edit->setMaxLength(std::max(limit, static_cast<int>(edit->text().size())));
}
} // namespace

void LimitTypedText(QLineEdit* edit, int limit)
{
    const bool first = TypedTextLimit(edit) < 0;
    edit->setProperty(kLimitProperty, std::max(0, limit));
    if (first)
        QObject::connect(edit, &QLineEdit::textChanged, edit, [edit] { FitLimitToText(edit); });
    FitLimitToText(edit);
}

void SetFieldText(QLineEdit* edit, const QString& text)
{
    if (edit->maxLength() < text.size())
        edit->setMaxLength(static_cast<int>(text.size()));
    edit->setText(text);
    FitLimitToText(edit);
    // Like the platform's edit fields, show a new text from its start: a
    // number too long for its box shows its leading digits. Moving the caret
    // costs a relayout, so only where the text does not fit.
    if (edit->fontMetrics().horizontalAdvance(text) >= edit->contentsRect().width() - kTextMargins)
        edit->setCursorPosition(0);
}
