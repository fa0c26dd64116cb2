#include "shell/ui/rich_text_qt.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

namespace tolmex::shell::ui {

QFont ReportFont(double pointSize) {
  QFont f(QString::fromUtf8(kReportFontName));
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  if (pointSize > 0) f.setPointSizeF(pointSize);
  return f;
}

QString ToQtPlain(std::string_view text) {
  QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

std::string FromQtPlain(const QString& text) {
  QString s = text;
  s.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  s.replace(QChar::LineSeparator, QLatin1Char('\n'));
  s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return s.toStdString();
}

namespace {

Alignment FromQtAlignment(Qt::Alignment a) {
  if (a & Qt::AlignRight) return Alignment::Right;
  if (a & Qt::AlignHCenter) return Alignment::Center;
  if (a & Qt::AlignJustify) return Alignment::Justify;
  return Alignment::Left;
}

Qt::Alignment ToQtAlignment(Alignment a) {
  switch (a) {
    case Alignment::Right: return Qt::AlignRight | Qt::AlignAbsolute;
    case Alignment::Center: return Qt::AlignHCenter;
    case Alignment::Justify: return Qt::AlignJustify;
    default: return Qt::AlignLeft | Qt::AlignAbsolute;
  }
}

CharFormat FromQtFormat(const QTextCharFormat& fmt, const QFont& defaultFont) {
  const QFont f = fmt.font().resolve(defaultFont);
  CharFormat c;
  const QStringList families = fmt.fontFamilies().toStringList();
  c.font = (families.isEmpty() ? f.family() : families.front()).toStdString();
  c.size = f.pointSizeF() > 0 ? f.pointSizeF() : 10;
  c.bold = f.weight() >= QFont::DemiBold;
  c.italic = f.italic();
  c.underline = f.underline();
  const QBrush b = fmt.foreground();
  if (b.style() != Qt::NoBrush) {
    const QColor col = b.color();
    c.color = {static_cast<std::uint8_t>(col.red()), static_cast<std::uint8_t>(col.green()),
               static_cast<std::uint8_t>(col.blue())};
  }
  return c;
}

}  // namespace

QTextCharFormat ToQtFormat(const CharFormat& f) {
  QTextCharFormat q;
  q.setFontFamilies(QStringList{QString::fromStdString(f.font)});
  q.setFontPointSize(f.size);
  q.setFontWeight(f.bold ? QFont::Bold : QFont::Normal);
  q.setFontItalic(f.italic);
  q.setFontUnderline(f.underline);
  if (!(f.color == Rgb{})) q.setForeground(QColor(f.color.r, f.color.g, f.color.b));
  return q;
}

RichDocument ToRichDocument(const QTextDocument& doc) {
  RichDocument rich;
  const QFont def = doc.defaultFont();
  rich.paragraphs.reserve(static_cast<std::size_t>(doc.blockCount()));
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    Paragraph p;
    p.alignment = FromQtAlignment(b.blockFormat().alignment());
    p.bullet = b.textList() != nullptr;
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment frag = it.fragment();
      if (!frag.isValid()) continue;
      QString t = frag.text();
      t.replace(QChar::Nbsp, QLatin1Char(' '));
      t.replace(QChar::LineSeparator, QLatin1Char(' '));
      const CharFormat cf = FromQtFormat(frag.charFormat(), def);
      std::string text = t.toStdString();
      if (!p.runs.empty() && p.runs.back().format == cf)
        p.runs.back().text += text;
      else
        p.runs.push_back({std::move(text), cf});
    }
    rich.paragraphs.push_back(std::move(p));
  }
  return rich;
}

namespace {

// The format shared by every run when the document is plain text in one format (a report as
// saved by the program), else null.
const CharFormat* UniformFormat(const RichDocument& rich) {
  const CharFormat* fmt = nullptr;
  for (const auto& p : rich.paragraphs) {
    if (p.bullet || p.alignment != Alignment::Left || p.runs.size() > 1) return nullptr;
    if (p.runs.empty()) continue;
    if (!fmt)
      fmt = &p.runs[0].format;
    else if (!(p.runs[0].format == *fmt))
      return nullptr;
  }
  return fmt;
}

}  // namespace

void LoadRichDocument(QTextDocument& doc, const RichDocument& rich) {
  if (const CharFormat* fmt = UniformFormat(rich);
      fmt && !fmt->bold && !fmt->italic && !fmt->underline && fmt->color == Rgb{}) {
    // One font for the whole text: it becomes the document's font, and the text goes in as
    // plain text in one piece.
    QFont f(QString::fromStdString(fmt->font));
    if (fmt->font == kReportFontName) f = ReportFont(fmt->size);
    f.setPointSizeF(fmt->size);
    doc.setDefaultFont(f);
    doc.setPlainText(QString::fromStdString(rich.PlainText()).replace(QStringLiteral("\r\n"),
                                                                      QStringLiteral("\n")));
    return;
  }
  const bool undo = doc.isUndoRedoEnabled();
  doc.setUndoRedoEnabled(false);
  doc.clear();
  QTextCursor c(&doc);
  c.beginEditBlock();
  const auto& ps = rich.paragraphs;
  QTextList* list = nullptr;
  bool firstBlock = true;
  std::size_t i = 0;
  while (i < ps.size()) {
    const Paragraph& p = ps[i];
    QTextBlockFormat bf;
    bf.setAlignment(ToQtAlignment(p.alignment));
    if (firstBlock) {
      c.setBlockFormat(bf);
      firstBlock = false;
    } else {
      c.insertBlock(bf);
    }
    if (p.bullet) {
      if (list)
        list->add(c.block());
      else
        list = c.createList(QTextListFormat::ListDisc);
    } else {
      list = nullptr;
    }
    if (!p.bullet && p.runs.size() <= 1) {
      // Gather the following paragraphs of the same kind into one insertion.
      const CharFormat* fmt = p.runs.empty() ? nullptr : &p.runs[0].format;
      std::size_t j = i + 1;
      for (; j < ps.size(); ++j) {
        const Paragraph& q = ps[j];
        if (q.bullet || q.alignment != p.alignment || q.runs.size() > 1) break;
        if (!q.runs.empty()) {
          if (fmt && !(q.runs[0].format == *fmt)) break;
          if (!fmt) fmt = &q.runs[0].format;
        }
      }
      QString chunk;
      for (std::size_t k = i; k < j; ++k) {
        if (k > i) chunk += QChar::ParagraphSeparator;
        if (!ps[k].runs.empty()) chunk += QString::fromStdString(ps[k].runs[0].text);
      }
      const QTextCharFormat qf = fmt ? ToQtFormat(*fmt) : QTextCharFormat();
      if (fmt) c.setBlockCharFormat(qf);
      c.insertText(chunk, qf);
      i = j;
      continue;
    }
    if (!p.runs.empty()) c.setBlockCharFormat(ToQtFormat(p.runs[0].format));
    for (const auto& r : p.runs) c.insertText(QString::fromStdString(r.text), ToQtFormat(r.format));
    ++i;
  }
  c.endEditBlock();
  doc.setUndoRedoEnabled(undo);
}

}  // namespace tolmex::shell::ui
