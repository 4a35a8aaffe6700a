// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QValidator>

namespace struktur::elements {

/// Keeps a field to one storable line: CR, LF and NUL, which would end a line (or the whole
/// file) in the structure and data files, become spaces as they are typed or pasted. Everything
/// else is accepted unchanged.
class SingleLineValidator : public QValidator {
    Q_OBJECT

public:
    using QValidator::QValidator;

    State validate(QString& input, int& position) const override;
    void fixup(QString& input) const override;
};

/// The text with CR, LF and NUL turned into spaces.
QString singleLine(QString text);

} // namespace struktur::elements
