// The line forms of the information displays, each printed through the message printer:
//
//   section title   16 blanks, the title (ending in "\n"), 16 blanks, "================\n"
//   number line     the label, the number with one blank after it, an optional unit, "\n"
//   text line       the label, the value text, "\n"
//   Yes/No line     a text line whose value is "Yes" or "No"
#ifndef INFOLINES_H
#define INFOLINES_H

void printSectionTitle(const char* title);
// A title that is a catalogue message (it carries its own leading blanks).
void printSectionTitleMessage(unsigned int titleMessage);
void printNumberLine(const char* label, int value, const char* unit = nullptr);
void printTextLine(const char* label, const char* value);
void printYesNoLine(const char* label, bool yes);

inline const char* yesNo(bool yes)
{
    return yes ? "Yes" : "No";
}

#endif
