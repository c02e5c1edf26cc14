#include "tools/manual/ManualStyle.h"

#include <QColor>
#include <QImage>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>
#include <vector>

namespace {

// Screenshots are taken on a screen of about this many pixels per inch.
constexpr qreal kScreenDpi = 110;

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
    SetFont(*const_cast<QTextDocument*>(block.document()), block.position(), block.position() + block.length() - 1,
            points, bold);
}

} // namespace

// Lengths on the page, in the PDF's pixels.
qreal Mm(qreal mm)
{
    return mm / 25.4 * kManualDpi;
}

// Lengths in text formats (margins, padding, pictures): the layout counts them in pixels of a
// 96-dpi screen and scales them to the PDF itself.
qreal FormatMm(qreal mm)
{
    return mm / 25.4 * 96;
}

void SetBlock(QTextBlock block, const std::function<void(QTextBlockFormat&)>& change)
{
    QTextBlockFormat format = block.blockFormat();
    change(format);
    QTextCursor(block).setBlockFormat(format);
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
        format.setColumnWidthConstraints(
            {QTextLength(QTextLength::PercentageLength, 88), QTextLength(QTextLength::PercentageLength, 12)});
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
    struct Picture {
        int position;
        int length;
        QTextImageFormat format;
    };
    std::vector<Picture> pictures;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                pictures.push_back(
                    {it.fragment().position(), it.fragment().length(), it.fragment().charFormat().toImageFormat()});
    for (Picture& picture : pictures) {
        const QImage image(picture.format.name());
        if (image.isNull())
            return QStringLiteral("cannot read the picture %1").arg(picture.format.name());
        doc.addResource(QTextDocument::ImageResource, QUrl(picture.format.name()), image);
        // At screen size, but never wider than the text nor taller than half a page.
        qreal width = std::min(bodyWidth * 96 / kManualDpi, image.width() * 96 / kScreenDpi);
        width = std::min(width, bodyHeight * 0.5 * 96 / kManualDpi * image.width() / image.height());
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
                // A line longer than the page wraps rather than running past its edge.
                f.setNonBreakableLines(false);
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
