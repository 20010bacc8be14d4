#pragma once

#include <QString>

class QLineEdit;

// Limits what the user can type or paste into a field to `limit`
// characters. Text that the program sets with SetFieldText is shown whole,
// however long; the user can then shorten it but not lengthen it.
void LimitTypedText(QLineEdit* edit, int limit);

// Sets the text of a field whole, whatever its typed-text limit. A text
// longer than the box shows its beginning (the caret goes to its start).
void SetFieldText(QLineEdit* edit, const QString& text);
