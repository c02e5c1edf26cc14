#include "tools/manual/ManualBook.h"

#include "tools/manual/ManualStyle.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>

#include <cmath>

namespace {

void DrawTitlePage(QPainter& painter, const QRectF& page, const QString& title, const QString& subtitle)
{
    struct Line {
        QString text;
        qreal points;
        bool bold;
        qreal top;
    };
    const Line lines[] = {
        {title, 26, true, 0.32}, {QStringLiteral("User Manual"), 18, true, 0.40}, {subtitle, 12, false, 0.46}};
    painter.setPen(Qt::black);
    for (const Line& line : lines) {
        QFont font(kManualFont, 10);
        font.setStyleStrategy(QFont::PreferNoShaping);
        font.setPointSizeF(line.points);
        font.setBold(line.bold);
        painter.setFont(font);
        painter.drawText(QRectF(page.left(), page.top() + page.height() * line.top, page.width(), Mm(15)),
                         Qt::AlignHCenter | Qt::AlignTop, line.text);
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
        doc.documentLayout()->blockBoundingRect(block); // lays the document out up to here
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
    // Every page first: a page number takes the placeholder's room, so filling them in moves
    // nothing, and one edit afterwards lays the document out once instead of once per heading.
    std::vector<int> pages;
    for (const QTextBlock& block : blocks) {
        doc.documentLayout()->blockBoundingRect(block);
        // The title page comes first, so the document's first page is the second.
        pages.push_back(PageOf(TextSpan(block).first, bodyHeight) + 2);
    }
    QTextCursor edit(&doc);
    edit.beginEditBlock();
    for (size_t i = 0; i < blocks.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        const int page = pages[i];
        QTextTableCell cell = contents->cellAt(row, 1);
        QTextCursor cursor = cell.firstCursorPosition();
        cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        cursor.insertText(QString::number(page));
        if (headings[i].level == 2)
            SetBlock(contents->cellAt(row, 0).firstCursorPosition().block(),
                     [](QTextBlockFormat& f) { f.setLeftMargin(FormatMm(6)); });
    }
    edit.endEditBlock();
}

} // namespace

QString WriteManualPdf(const ManualText& manual, const QString& title, const QString& subtitle, const QString& pdfPath)
{
    QPdfWriter writer(pdfPath);
    writer.setResolution(kManualDpi);
    writer.setTitle(title + QStringLiteral(" - User Manual"));
    writer.setCreator(QStringLiteral("tallion-manual-pdf"));
    // The whole sheet is ours; the margins are kept below.
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(),
                                     QPageLayout::Millimeter, QMarginsF()));
    const QPointF origin(Mm(22), Mm(20));
    const QSizeF body(writer.width() - 2 * origin.x(), writer.height() - origin.y() - Mm(25));

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&writer);
    QFont font(kManualFont, 10);
    // No ligatures: "fi" stays two letters, which a PDF viewer's search (and a copy of the text)
    // finds.
    font.setStyleStrategy(QFont::PreferNoShaping);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    doc.setPageSize(body);
    // Texts like "<STX>" are the station's own words, never markup.
    doc.setMarkdown(manual.markdown, QTextDocument::MarkdownFeatures(QTextDocument::MarkdownDialectGitHub
                                                                     | QTextDocument::MarkdownNoHTML));

    QTextTable* contents = nullptr;
    for (QTextFrame* frame : doc.rootFrame()->childFrames())
        if ((contents = qobject_cast<QTextTable*>(frame)))
            break;
    if (!contents || contents->rows() != static_cast<int>(manual.headings.size()) + 1)
        return QStringLiteral("the contents table was not laid out as composed");
    // Styled as one edit, so that the document is laid out once afterwards, not after every change.
    QTextCursor styling(&doc);
    styling.beginEditBlock();
    for (QTextFrame* frame : doc.rootFrame()->childFrames())
        if (auto* table = qobject_cast<QTextTable*>(frame))
            StyleTable(table, table == contents);
    StyleBody(doc, contents);
    const QString pictureError = LoadImages(doc, body.width(), body.height());
    styling.endEditBlock();
    if (!pictureError.isEmpty())
        return pictureError;
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
        QFont footerFont(kManualFont, 8);
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
