// SPDX-License-Identifier: MIT
// The report as a PDF file.
#include "report/Report.h"

#include <QBuffer>
#include <QHashSeed>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <charconv>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace yawmark::report {

namespace {

// SOURCE_DATE_EPOCH as the reproducible-builds convention has it: whole seconds
// since 1970-01-01 UTC. Nothing when unset or not such a number.
std::optional<qint64> sourceDateEpoch() {
    const char* text = std::getenv("SOURCE_DATE_EPOCH");
    if (!text || !*text) return std::nullopt;
    const std::string_view s(text);
    qint64 seconds = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), seconds);
    if (r.ec != std::errc() || r.ptr != s.data() + s.size() || seconds < 0) return std::nullopt;
    return seconds;
}

// Qt 6.4 writes the creation date as "/CreationDate (D:YYYYMMDDHHmmSS...)" from
// the clock and offers no way to set it. It is overwritten with the same
// number of digits, so that the cross-reference table's byte offsets still hold.
void fixCreationDate(QByteArray& pdf, const QDateTime& date) {
    static const QByteArray key("/CreationDate (D:");
    const qsizetype at = pdf.indexOf(key);
    const QByteArray digits = date.toUTC().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
    if (at < 0 || at + key.size() + digits.size() > pdf.size()) return;
    pdf.replace(at + key.size(), digits.size(), digits);
}

} // namespace

QDateTime reportDate() {
    if (const auto seconds = sourceDateEpoch())
        return QDateTime::fromSecsSinceEpoch(*seconds, Qt::UTC);
    return QDateTime::currentDateTimeUtc();
}

std::variant<QByteArray, std::string> reportPdf(const ReportInput& input) {
    // Qt's PDF engine writes its fonts in the order of a hash table, which a
    // random seed shuffles from one process to the next: with a fixed seed
    // while the report is written, the same input gives the same bytes.
    QHashSeed::setDeterministicGlobalSeed();
    const std::unique_ptr<void, void (*)(void*)> randomAgain(
        reinterpret_cast<void*>(1), [](void*) { QHashSeed::resetRandomGlobalSeed(); });
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Yawmark %1").arg(input.version));
        writer.setTitle(QStringLiteral("Skid reconstruction report: %1").arg(input.caseName));
        const bool inches = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
        writer.setPageLayout(QPageLayout(QPageSize(inches ? QPageSize::Letter : QPageSize::A4),
                                         QPageLayout::Portrait, QMarginsF(15, 15, 15, 12),
                                         QPageLayout::Millimeter));
        QPainter painter(&writer);
        if (auto problem = paintReport(writer, painter, input)) return *problem;
    }
    QByteArray pdf = buffer.data();
    if (sourceDateEpoch()) fixCreationDate(pdf, input.date);
    return pdf;
}

std::optional<std::string> writeReportPdf(const QString& path, const ReportInput& input) {
    // A folder or a device in the way is named before any work is done.
    if (auto problem = io::outputProblem(path)) return io::pathName(path) + ": " + *problem + ".";
    auto pdf = reportPdf(input);
    if (auto* problem = std::get_if<std::string>(&pdf)) return *problem;
    const QByteArray& bytes = std::get<QByteArray>(pdf);
    return io::saveText(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace yawmark::report
