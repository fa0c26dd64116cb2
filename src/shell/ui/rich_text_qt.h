#pragma once
// Conversions between Qt's text document and the program's RichDocument.
#include <QFont>
#include <QString>

#include "shell/rich_text.h"

class QTextDocument;
class QTextCharFormat;

namespace tolmex::shell::ui {

// The report font: "Courier New" (fontconfig maps it to Liberation Mono), fixed pitch.
QFont ReportFont(double pointSize);

RichDocument ToRichDocument(const QTextDocument& doc);
// Replaces the content of `doc`. Runs of paragraphs that share one format are inserted in one
// piece, so that a long plain report loads fast.
void LoadRichDocument(QTextDocument& doc, const RichDocument& rich);

QTextCharFormat ToQtFormat(const CharFormat& f);

// Report text (CR LF lines) as Qt plain text ("\n" lines), and back.
QString ToQtPlain(std::string_view text);
std::string FromQtPlain(const QString& text);

}  // namespace tolmex::shell::ui
