#pragma once
// A compact reader for the rich text the help document is written in: groups, paragraphs (\par),
// line breaks (\line), tabs, bold, italic, underline, font size, the colour table, paragraph
// alignment, \'hh (Windows-1252) and \uN characters. Every destination and control word it does not
// know is skipped. It never fails on malformed input: unbalanced braces, truncated escapes, huge
// numbers and deep nesting all end in some (possibly empty) text.
//
// The plain text of the resulting document is what the help positions count: one character per
// character shown and one per paragraph end. A run of combining marks too long to lay out quickly is
// cut by a dotted circle standing in for a mark, which keeps the count.
#include <QByteArray>
#include <QString>

class QTextDocument;

// Replaces the document's content with the rich text. Returns false (and leaves the document empty)
// when the data is not rich text at all (it must open with "{\rtf").
bool readRtf(const QByteArray& rtf, QTextDocument& document);

// Reads a rich-text file into the document; a missing, unreadable or oversized file, or one that is
// not a regular file (a pipe, a device), leaves it empty.
bool loadRtfFile(const QString& path, QTextDocument& document);

// The plain text the reader makes of the rich text (paragraph ends as '\n').
QString rtfPlainText(const QByteArray& rtf);
