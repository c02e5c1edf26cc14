// Printing the grid on demand: the text file (its name, a write that fails) and the paper
// pages (whole rows, in order, below the top border, the summary after them), rendered to PDF.

#include "logviews/ResultGridModel.h"
#include "printing/TextFileOutput.h"
#include "printviews/FlexGridPrint.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

TEST(PrintTextFile, NamesFollowTheLogFile)
{
    struct Case {
        std::string log, title, proposed;
    };
    // clang-format off
    const Case cases[] = {
        {"/data/shift2.dif", "shift2.txt", "shift2.txt"},
        {"shift2.dif", "shift2.txt", "shift2.txt"},
        {"/data/day.1.dif", "day.1.txt", "day.txt"},
        {"/data/shift2", "shift2.txt", "shift2.txt"},
        {"/data.d/shift2", "shift2.txt", "shift2.txt"},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(TextFileTitle(c.log), c.title) << c.log;
        EXPECT_EQ(ProposedTextFileName(c.log), c.proposed) << c.log;
    }
    EXPECT_EQ(JoinFolderAndName("/out/", "a.txt"), "/out/a.txt");
    EXPECT_EQ(JoinFolderAndName("/out", "a.txt"), "/out/a.txt");
    EXPECT_EQ(JoinFolderAndName("", "a.txt"), "a.txt");
}

class GridFixture : public ::testing::Test {
protected:
    // Titles and `rows` rows of three cells ("t001", "d001", "c001", ...); row 3 is a message.
    void Fill(int rows)
    {
        grid.SetColumnTitles({"Time", "Date", "Carcass#"});
        for (int r = 1; r <= rows; ++r) {
            const int row = grid.AppendRow();
            const QString n = QStringLiteral("%1").arg(r, 3, 10, QLatin1Char('0'));
            if (r == 3) {
                grid.SetCell(row, 0, QStringLiteral("Cancel      000") + n, true);
                continue;
            }
            grid.SetCell(row, 0, QStringLiteral("t") + n);
            grid.SetCell(row, 1, QStringLiteral("d") + n);
            grid.SetCell(row, 2, QStringLiteral("c") + n);
        }
    }

    QTemporaryDir dir;
    ResultGridModel grid;
};

TEST_F(GridFixture, AFileThatCannotBeWrittenSaysWhyAndLeavesNothingBehind)
{
    Fill(1);
    std::string error;
    const std::string missing = dir.filePath("no-such-folder/out.txt").toStdString();
    EXPECT_FALSE(WriteTextFileDurably(missing, GridAsText(grid, ""), &error));
    EXPECT_NE(error.find(missing), std::string::npos) << error;
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;

    // A name taken by a folder: the folder stays, and no temporary file is left behind.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.txt"));
    EXPECT_FALSE(WriteTextFileDurably(dir.filePath("taken.txt").toStdString(), "new\r\n", &error));
    EXPECT_TRUE(QFileInfo(dir.filePath("taken.txt")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
}

TEST_F(GridFixture, AReplacedFileKeepsItsModeAndItsLinkANewOneGetsWhatOpenWouldGive)
{
    const std::string privateFile = dir.filePath("private.txt").toStdString();
    const std::string realFile = dir.filePath("real.txt").toStdString();
    const std::string link = dir.filePath("link.txt").toStdString();
    const std::string fresh = dir.filePath("fresh.txt").toStdString();
    for (const auto& [path, mode] : {std::pair{privateFile, 0600}, std::pair{realFile, 0640}}) {
        ASSERT_TRUE(QFile(QString::fromStdString(path)).open(QIODevice::WriteOnly));
        ASSERT_EQ(::chmod(path.c_str(), static_cast<mode_t>(mode)), 0);
    }
    ASSERT_EQ(::symlink(realFile.c_str(), link.c_str()), 0);
    const mode_t mask = ::umask(022); // read here only; the station never changes it
    ::umask(mask);

    struct Case {
        std::string written, checked;
        mode_t mode;
        bool isLink;
    } cases[] = {
        {privateFile, privateFile, 0600, false},
        {link, realFile, 0640, true},
        {fresh, fresh, static_cast<mode_t>(0666 & ~mask), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        std::string error;
        ASSERT_TRUE(WriteTextFileDurably(c.written, "text\r\n", &error)) << error;
        struct stat st {};
        ASSERT_EQ(::lstat(c.written.c_str(), &st), 0);
        EXPECT_EQ(S_ISLNK(st.st_mode), c.isLink);
        ASSERT_EQ(::stat(c.checked.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, c.mode);
        QFile file(QString::fromStdString(c.checked));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly) && file.readAll() == "text\r\n");
    }
}

TEST(PaginateRows, PagesTakeWholeRowsWithinTheBorders)
{
    struct Case {
        const char* what;
        std::vector<double> heights;
        double page, top;
        int maxRows;
        double repeated;
        std::vector<PageBand> pages;
    };
    const std::vector<double> twenty(20, 10.0);
    // clang-format off
    const Case cases[] = {
        {"80 units of room: 8 rows a page", twenty, 100, 10, -1, 0, {{0, 8}, {8, 8}, {16, 4}}},
        {"a row that would overflow starts the next page", twenty, 99, 10, -1, 0, {{0, 7}, {7, 7}, {14, 6}}},
        {"no more rows than allowed", twenty, 100, 10, 6, 0, {{0, 6}, {6, 6}, {12, 6}, {18, 2}}},
        {"repeated titles take room on later pages", twenty, 100, 10, -1, 20, {{0, 8}, {8, 6}, {14, 6}}},
        {"a row taller than a page gets a page", {10, 200, 10}, 100, 10, -1, 0, {{0, 1}, {1, 1}, {2, 1}}},
        {"no rows, no pages", {}, 100, 10, -1, 0, {}},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(PaginateRows(c.heights, c.page, c.top, c.maxRows, c.repeated), c.pages) << c.what;
}

// Words of each page of a PDF with their heights on the page (points), read by pdftotext.
struct PdfWord {
    double top;
    QString text;
};
std::vector<std::vector<PdfWord>> PdfPages(const QString& pdf)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(20000))
        return {};
    const QString html = QString::fromUtf8(pdftotext.readAllStandardOutput());
    std::vector<std::vector<PdfWord>> pages;
    static const QRegularExpression token(
        QStringLiteral("<page |<word xMin=\"[0-9.]+\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page")))
            pages.emplace_back();
        else if (!pages.empty())
            pages.back().push_back(PdfWord{m.captured(1).toDouble(), m.captured(2)});
    }
    return pages;
}

TEST_F(GridFixture, GridPagesKeepRowsWholeAndInOrderWithTheSummaryAfter)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed (Debian package poppler-utils)";
    constexpr int kRows = 150;
    Fill(kRows);
    const QString pdf = dir.filePath("grid.pdf");
    {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(600);
        QPainter painter(&writer);
        const GridPrintLayout layout{QFont(QStringLiteral("News Gothic MT"), 10), {1440, 1440, 1440}};
        ASSERT_TRUE(FlexGridPrint(writer, painter, grid, layout, QPageLayout::Portrait, -1, 1000, 0, 0));
        ASSERT_TRUE(PrintTextPages(writer, painter, "*** Summary ***\r\n  S    2\r\nTotal: 2\r\n",
                                   QFont(QStringLiteral("DejaVu Sans Mono"), 10), 1000, 0));
    }
    const auto pages = PdfPages(pdf);
    ASSERT_GE(pages.size(), 4u) << "150 rows fill several A4 pages, then the summary";

    // Every grid row on exactly one page, its three cells on one line; rows in order.
    std::map<int, int> pageOfRow;
    int lastRow = 0;
    const double topBorderPoints = 50; // 1000 twips
    for (size_t p = 0; p + 1 < pages.size(); ++p) {
        ASSERT_FALSE(pages[p].empty()) << "page " << p;
        for (const PdfWord& word : pages[p]) {
            EXPECT_GE(word.top, topBorderPoints - 1) << word.text.toStdString();
            static const QRegularExpression cell(QStringLiteral("^([tdc])(\\d{3})$"));
            const QRegularExpressionMatch m = cell.match(word.text);
            if (!m.hasMatch())
                continue;
            const int row = m.captured(2).toInt();
            if (m.captured(1) == QLatin1String("t")) {
                EXPECT_GT(row, lastRow) << "rows in order";
                lastRow = row;
                pageOfRow[row] = static_cast<int>(p);
                const auto sameLine = std::count_if(pages[p].begin(), pages[p].end(), [&](const PdfWord& w) {
                    return std::abs(w.top - word.top) < 1 && w.text.endsWith(m.captured(2));
                });
                EXPECT_EQ(sameLine, 3) << "row " << row << " is whole";
            }
        }
    }
    EXPECT_EQ(pageOfRow.size(), static_cast<size_t>(kRows - 1)) << "every result row once (row 3 is a message)";
    EXPECT_EQ(pages.front().front().text, "Time") << "titles first";
    EXPECT_EQ(pageOfRow.begin()->first, 1);
    EXPECT_EQ(pageOfRow.rbegin()->first, kRows);

    // The summary on the page after the grid.
    const auto& last = pages.back();
    ASSERT_FALSE(last.empty());
    EXPECT_EQ(last.front().text, "***");
    EXPECT_EQ(last[1].text, "Summary");
    EXPECT_TRUE(std::none_of(last.begin(), last.end(), [](const PdfWord& w) { return w.text.startsWith('t'); }));
}

// As the station prints: 10 mm borders, the column titles on every page, and a footer with the
// log's name and the page's number.
TEST_F(GridFixture, EveryPageHasTheColumnTitlesAndAFooter)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed (Debian package poppler-utils)";
    Fill(150);
    const QString pdf = dir.filePath("titled.pdf");
    {
        QPdfWriter writer(pdf);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(600);
        QPainter painter(&writer);
        const GridPrintLayout layout{QFont(QStringLiteral("News Gothic MT"), 10), {1440, 1440, 1440}, "shift2.dif"};
        ASSERT_TRUE(FlexGridPrint(writer, painter, grid, layout, QPageLayout::Portrait, -1, 1000, 567, 1));
    }
    const auto pages = PdfPages(pdf);
    ASSERT_GE(pages.size(), 3u);
    for (size_t p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE(p);
        ASSERT_GE(pages[p].size(), 4u);
        EXPECT_EQ(pages[p].front().text, "Time") << "the titles first";
        const auto& words = pages[p];
        EXPECT_EQ(words[words.size() - 5].text, "shift2.dif");
        EXPECT_EQ(words[words.size() - 4].text + " " + words[words.size() - 3].text + " " + words[words.size() - 2].text
                      + " " + words.back().text,
                  QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages.size()));
    }
}

} // namespace
