#include "tools/manual/ManualBook.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>

#include <algorithm>
#include <cmath>

namespace {

// Laid out at the PDF's own resolution, so that what is measured for the contents is what is drawn.
constexpr int kDpi = 300;
// Screenshots are taken on a screen of about this many pixels per inch.
constexpr qreal kScreenDpi = 110;
const QString kFont = QStringLiteral("DejaVu Sans");

// Lengths on the page, in the PDF's pixels.
qreal Mm(qreal mm)
{
    return mm / 25.4 * kDpi;
}

// Lengths in text formats (margins, padding, pictures): the layout counts them in pixels of a
// 96-dpi screen and scales them to the PDF itself.
qreal FormatMm(qreal mm)
{
    return mm / 25.4 * 96;
}

// Sets the size and weight of every piece of text in the range. The size a heading was given as
// a step above the default is dropped, since it would win over the size set here.
void SetFont(QTextDocument& doc, int from, int to, qreal points, bool bold)
{
    std::vector<std::pair<int, QTextCharFormat>> pieces;
    for (QTextBlock block = doc.findBlock(from); block.isValid() && block.position() < to; block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().position() >= from && it.fragment().position() < to)
                pieces.emplace_back(it.fragment().position(), it.fragment().charFormat());
    for (size_t i = 0; i < pieces.size(); ++i) {
        QTextCharFormat format = pieces[i].second;
        format.clearProperty(QTextFormat::FontSizeAdjustment);
        format.setFontPointSize(points);
        format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
        QTextCursor cursor(&doc);
        cursor.setPosition(pieces[i].first);
        cursor.setPosition(i + 1 < pieces.size() ? pieces[i + 1].first : to, QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
}

void SetBlockFont(QTextBlock block, qreal points, bool bold)
{
    SetFont(*const_cast<QTextDocument*>(block.document()), block.position(), block.position() + block.length() - 1, points, bold);
}

void SetBlock(QTextBlock block, const std::function<void(QTextBlockFormat&)>& change)
{
    QTextBlockFormat format = block.blockFormat();
    change(format);
    QTextCursor(block).setBlockFormat(format);
}

void DrawTitlePage(QPainter& painter, const QRectF& page, const QString& title, const QString& subtitle)
{
    struct Line { QString text; qreal points; bool bold; qreal top; };
    const Line lines[] = {{title, 26, true, 0.32}, {QStringLiteral("User Manual"), 18, true, 0.40},
                          {subtitle, 12, false, 0.46}};
    painter.setPen(Qt::black);
    for (const Line& line : lines) {
        QFont font(kFont, 10);
        font.setStyleStrategy(QFont::PreferNoShaping);
        font.setPointSizeF(line.points);
        font.setBold(line.bold);
        painter.setFont(font);
        painter.drawText(QRectF(page.left(), page.top() + page.height() * line.top, page.width(), Mm(15)),
                         Qt::AlignHCenter | Qt::AlignTop, line.text);
    }
}

void StyleTable(QTextTable* table, bool contents)
{
    QTextTableFormat format = table->format();
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setCellSpacing(0);
    format.setCellPadding(FormatMm(1.2));
    format.setBorder(contents ? 0 : 1);
    format.setBorderBrush(QColor(150, 150, 150));
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setHeaderRowCount(1);
    format.setTopMargin(FormatMm(1.5));
    format.setBottomMargin(FormatMm(2));
    if (contents) {
        format.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 88),
                                          QTextLength(QTextLength::PercentageLength, 12)});
    } else {
        // Columns share the width by how much text they hold on average, within bounds, so a
        // column of short values does not take as much room as a column of sentences; but
        // never so little that its longest word is broken.
        std::vector<qreal> weights;
        qreal total = 0;
        for (int column = 0; column < table->columns(); ++column) {
            qreal characters = 0;
            qreal longestWord = 0;
            for (int row = 0; row < table->rows(); ++row) {
                const QTextTableCell cell = table->cellAt(row, column);
                QTextCursor cursor = cell.firstCursorPosition();
                cursor.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
                const QString text = cursor.selectedText();
                characters += text.size();
                // The heading row is bold, hence wider.
                const qreal width = row == 0 ? 1.6 : 1.3;
                for (const QString& word : text.split(QRegularExpression(QStringLiteral("[\\s\\x{2029}]+"))))
                    longestWord = std::max(longestWord, word.size() * width);
            }
            weights.push_back(std::clamp(std::max(characters / table->rows(), longestWord), 7.0, 60.0));
            total += weights.back();
        }
        QList<QTextLength> widths;
        for (qreal weight : weights)
            widths << QTextLength(QTextLength::PercentageLength, 100 * weight / total);
        format.setColumnWidthConstraints(widths);
    }
    table->setFormat(format);
    // Cells are laid out alike; the first would otherwise keep a paragraph's margins.
    for (int row = 0; row < table->rows(); ++row)
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            for (QTextBlock block = table->document()->findBlock(cell.firstPosition());
                 block.isValid() && block.position() <= cell.lastPosition(); block = block.next())
                SetBlock(block, [](QTextBlockFormat& f) {
                    f.setTopMargin(0);
                    f.setBottomMargin(0);
                });
        }
    for (int column = 0; column < table->columns(); ++column) {
        QTextTableCell cell = table->cellAt(0, column);
        QTextCharFormat cellFormat = cell.format();
        if (!contents)
            cellFormat.setBackground(QColor(230, 230, 230));
        cell.setFormat(cellFormat);
        SetFont(*table->document(), cell.firstPosition(), cell.lastPosition(), contents ? 14 : 9.5, true);
    }
}

// Fits every picture to the text width and hands the document its pixels.
QString LoadImages(QTextDocument& doc, qreal bodyWidth, qreal bodyHeight)
{
    struct Picture { int position; int length; QTextImageFormat format; };
    std::vector<Picture> pictures;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                pictures.push_back({it.fragment().position(), it.fragment().length(),
                                    it.fragment().charFormat().toImageFormat()});
    for (Picture& picture : pictures) {
        const QImage image(picture.format.name());
        if (image.isNull())
            return QStringLiteral("cannot read the picture %1").arg(picture.format.name());
        doc.addResource(QTextDocument::ImageResource, QUrl(picture.format.name()), image);
        // At screen size, but never wider than the text nor taller than half a page.
        qreal width = std::min(bodyWidth * 96 / kDpi, image.width() * 96 / kScreenDpi);
        width = std::min(width, bodyHeight * 0.5 * 96 / kDpi * image.width() / image.height());
        picture.format.setWidth(width);
        picture.format.setHeight(width * image.height() / image.width());
        QTextCursor cursor(&doc);
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(picture.format);
    }
    return {};
}

void StyleBody(QTextDocument& doc, QTextTable* contents)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        if (format.hasProperty(QTextFormat::BlockCodeFence)) {
            const auto isCode = [](const QTextBlock& b) {
                return b.isValid() && b.blockFormat().hasProperty(QTextFormat::BlockCodeFence);
            };
            const bool first = !isCode(block.previous());
            const bool last = !isCode(block.next());
            SetBlock(block, [&](QTextBlockFormat& f) {
                f.setBackground(QColor(242, 242, 242));
                f.setLeftMargin(FormatMm(3));
                f.setTopMargin(first ? FormatMm(2.5) : 0);
                f.setBottomMargin(last ? FormatMm(3) : 0);
                f.setNonBreakableLines(true);
            });
            continue;
        }
        const int level = format.headingLevel();
        if (level < 1 || level > 3 || block.position() < contents->lastPosition())
            continue;
        SetBlock(block, [&](QTextBlockFormat& f) {
            f.setTopMargin(FormatMm(level == 1 ? 0 : 5));
            f.setBottomMargin(FormatMm(level == 1 ? 6 : 2));
            if (level == 1)
                f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        });
        SetBlockFont(block, level == 1 ? 20 : level == 2 ? 14 : 11.5, true);
    }
}

std::vector<QTextBlock> HeadingBlocks(QTextDocument& doc, QTextTable* contents, int maxLevel)
{
    std::vector<QTextBlock> headings;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level >= 1 && level <= maxLevel && block.position() > contents->lastPosition())
            headings.push_back(block);
    }
    return headings;
}

// Where a block's text starts and ends on the long sheet that the pages are cut from. (Its
// bounding rectangle starts before a page break that the block asks for.)
std::pair<qreal, qreal> TextSpan(const QTextBlock& block)
{
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0)
        return {0, 0};
    const qreal top = layout->position().y();
    const QTextLine last = layout->lineAt(layout->lineCount() - 1);
    return {top + layout->lineAt(0).y(), top + last.y() + last.height()};
}

// The layout keeps the page height in 64ths of a pixel, so a page can begin a hair before
// a multiple of the height given.
int PageOf(qreal y, qreal bodyHeight)
{
    return static_cast<int>(std::floor((y + 0.5) / bodyHeight));
}

// A heading is never the last thing on a page: one too close to the bottom starts the next page.
void KeepHeadingsWithText(QTextDocument& doc, QTextTable* contents, qreal bodyHeight)
{
    const qreal room = Mm(25);
    for (QTextBlock block : HeadingBlocks(doc, contents, 3)) {
        doc.documentLayout()->blockBoundingRect(block);  // lays the document out up to here
        const auto [top, bottom] = TextSpan(block);
        const qreal pageEnd = (PageOf(top, bodyHeight) + 1) * bodyHeight;
        if (pageEnd - bottom < room)
            SetBlock(block, [](QTextBlockFormat& f) { f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore); });
    }
}

void FillContents(QTextDocument& doc, QTextTable* contents, const std::vector<ManualHeading>& headings,
                  qreal bodyHeight)
{
    const std::vector<QTextBlock> blocks = HeadingBlocks(doc, contents, 2);
    for (size_t i = 0; i < blocks.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        // The title page comes first, so the document's first page is the second.
        doc.documentLayout()->blockBoundingRect(blocks[i]);
        const int page = PageOf(TextSpan(blocks[i]).first, bodyHeight) + 2;
        QTextTableCell cell = contents->cellAt(row, 1);
        QTextCursor cursor = cell.firstCursorPosition();
        cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        cursor.insertText(QString::number(page));
        if (headings[i].level == 2)
            SetBlock(contents->cellAt(row, 0).firstCursorPosition().block(),
                     [](QTextBlockFormat& f) { f.setLeftMargin(FormatMm(6)); });
    }
}

} // namespace

QString WriteManualPdf(const ManualText& manual, const QString& title, const QString& subtitle,
                       const QString& pdfPath)
{
    QPdfWriter writer(pdfPath);
    writer.setResolution(kDpi);
    writer.setTitle(title + QStringLiteral(" - User Manual"));
    writer.setCreator(QStringLiteral("tallion-manual-pdf"));
    // The whole sheet is ours; the margins are kept below.
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(),
                                     QPageLayout::Millimeter, QMarginsF()));
    const QPointF origin(Mm(22), Mm(20));
    const QSizeF body(writer.width() - 2 * origin.x(), writer.height() - origin.y() - Mm(25));

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&writer);
    QFont font(kFont, 10);
    // No ligatures: "fi" stays two letters, which a PDF viewer's search (and a copy of the text)
    // finds.
    font.setStyleStrategy(QFont::PreferNoShaping);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    doc.setPageSize(body);
    // Texts like "<STX>" are the station's own words, never markup.
    doc.setMarkdown(manual.markdown, QTextDocument::MarkdownFeatures(QTextDocument::MarkdownDialectGitHub |
                                                                     QTextDocument::MarkdownNoHTML));

    QTextTable* contents = nullptr;
    for (QTextFrame* frame : doc.rootFrame()->childFrames())
        if ((contents = qobject_cast<QTextTable*>(frame)))
            break;
    if (!contents || contents->rows() != static_cast<int>(manual.headings.size()) + 1)
        return QStringLiteral("the contents table was not laid out as composed");
    for (QTextFrame* frame : doc.rootFrame()->childFrames())
        if (auto* table = qobject_cast<QTextTable*>(frame))
            StyleTable(table, table == contents);
    StyleBody(doc, contents);
    if (const QString error = LoadImages(doc, body.width(), body.height()); !error.isEmpty())
        return error;
    if (HeadingBlocks(doc, contents, 2).size() != manual.headings.size())
        return QStringLiteral("a chapter heading was not recognised as one");
    KeepHeadingsWithText(doc, contents, body.height());
    FillContents(doc, contents, manual.headings, body.height());

    QPainter painter;
    if (!painter.begin(&writer))
        return QStringLiteral("cannot write %1").arg(pdfPath);
    DrawTitlePage(painter, QRectF(0, 0, writer.width(), writer.height()), title, subtitle);
    const int pages = doc.pageCount() + 1;
    for (int page = 1; page < pages; ++page) {
        writer.newPage();
        const qreal top = (page - 1) * body.height();
        painter.save();
        painter.translate(origin.x(), origin.y() - top);
        QAbstractTextDocumentLayout::PaintContext context;
        // The layout may start the next page a hair before top + height; a line there belongs
        // to the next page and must not be drawn (hidden, but found by a search) on this one.
        context.clip = QRectF(0, top, body.width(), body.height() - 1);
        painter.setClipRect(context.clip);
        doc.documentLayout()->draw(&painter, context);
        painter.restore();
        QFont footerFont(kFont, 8);
        footerFont.setStyleStrategy(QFont::PreferNoShaping);
        painter.setFont(footerFont);
        painter.setPen(QColor(90, 90, 90));
        const QRectF footer(origin.x(), origin.y() + body.height() + Mm(8), body.width(), Mm(6));
        painter.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter, title + QStringLiteral(" - User Manual"));
        painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1 / %2").arg(page + 1).arg(pages));
    }
    if (!painter.end())
        return QStringLiteral("cannot finish %1").arg(pdfPath);
    return QFileInfo(pdfPath).size() > 0 ? QString() : QStringLiteral("%1 was left empty").arg(pdfPath);
}
