// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Properties.h"

#include <QString>

#include <vector>

namespace struktur::rtf {

/// The fields open around the text being read, {\field{\*\fldinst ...}{\fldrslt ...}}, nested
/// up to a bound. Of the instructions only HYPERLINK is acted on: its target goes into
/// Tables::links, and the result text carries it.
class FieldStack {
public:
    explicit FieldStack(Tables& tables)
        : m_tables(tables)
    {
    }

    /// Opens a field; false when too many are open (the field is then not read).
    bool open();
    void close();
    bool isEmpty() const { return m_fields.empty(); }

    void instructionCharacter(char16_t ch);
    /// The innermost field's instruction is complete.
    void finishInstruction();
    /// At \fldrslt: the innermost field's link (its instruction read first if it was not ended),
    /// or -1.
    int resultLink();

private:
    struct Field {
        QString instruction;
        int link = -1;
        bool parsed = false;
    };
    void parse(Field& field);

    Tables& m_tables;
    std::vector<Field> m_fields;
};

} // namespace struktur::rtf
