// SPDX-License-Identifier: MIT
// yawmark-batch --monte-carlo: the skid run on draws of the spreads, a
// row a draw or their summary.
#include "cli/BatchRunner.h"

#include "sim/NumberText.h"

#include <array>
#include <ostream>

namespace yawmark {

using namespace model;

MonteCarloSettings batchMonteCarloSettings(const BatchOptions& options) {
    MonteCarloSettings settings;
    settings.draws = *options.monteCarlo;
    settings.seed = options.seed.value_or(settings.seed);
    settings.threads = options.threads.value_or(0);
    settings.maxPasses = kMaxRestPasses;
    return settings;
}

int runBatchMonteCarlo(const BatchOptions& options, const BatchSkid& skid, std::ostream& out,
                       std::ostream& err) {
    const io::CaseFile& file = skid.file;
    MonteCarloSettings settings = batchMonteCarloSettings(options); // run in parts below
    if (auto problem =
            monteCarloProblem(file.texts, file.autos, file.form, file.spreads, settings)) {
        err << "yawmark-batch: --monte-carlo: " << *problem << '\n';
        return 2;
    }
    // In parts, each printed as soon as it is drawn: the run keeps no more
    // than one part's draws, and with --summary no more than their outcomes.
    constexpr std::uint64_t kPart = 1 << 14;
    std::array<std::vector<double>, kOutcomeCount> values;
    std::uint64_t refused = 0;
    std::string firstProblem;
    const auto number = [](double v) { return ',' + exactNumber(v); };
    for (std::uint64_t first = 0; first < *options.monteCarlo; first += kPart) {
        settings.first = first;
        settings.draws = std::min(kPart, *options.monteCarlo - first);
        const MonteCarloResult r =
            runMonteCarlo(file.texts, file.autos, file.form, file.spreads, settings);
        std::string text, notes;
        if (first == 0 && !options.summary) {
            text = "draw";
            for (int box : r.varied)
                text += ',' + std::string(kBoxKeys[box]);
            for (int i = 0; i < kOutcomeCount; ++i)
                text += ',' + std::string(outcomeKey(i));
            text += '\n';
        }
        for (std::size_t k = 0; k < r.draws.size(); ++k) {
            const DrawResult& d = r.draws[k];
            const std::uint64_t draw = first + k + 1; // numbered from 1, as passes are
            if (!d.outcome) {
                ++refused;
                if (firstProblem.empty()) firstProblem = d.problem;
                if (!options.summary)
                    notes += "yawmark-batch: note: draw " + std::to_string(draw) + ": " +
                             d.problem + '\n';
            }
            if (options.summary) {
                for (int i = 0; i < kOutcomeCount && d.outcome; ++i)
                    values[i].push_back(outcomeValue(*d.outcome, i));
                continue;
            }
            text += std::to_string(draw);
            for (double v : d.inputs)
                text += number(v);
            for (int i = 0; i < kOutcomeCount; ++i)
                text += d.outcome ? number(outcomeValue(*d.outcome, i)) : ",";
            text += '\n';
        }
        out << text;
        out.flush();
        err << notes;
    }
    if (!options.summary) return 0;
    const std::uint64_t draws = *options.monteCarlo;
    if (refused == draws) {
        err << "yawmark-batch: no draw has an outcome, so there is nothing to summarise; the "
               "first: "
            << firstProblem << '\n';
        return 3;
    }
    if (refused > 0)
        err << "yawmark-batch: note: " << refused << " of " << draws
            << " draws have no outcome and are left out of the summary; the first: " << firstProblem
            << '\n';
    std::string table = "quantity,p2.5,p50,p97.5,mean,sd,unit\n";
    for (int i = 0; i < kOutcomeCount; ++i) {
        const Percentiles p = percentiles(std::move(values[i]));
        table += std::string(outcomeKey(i));
        for (double v : {p.p2_5, p.p50, p.p97_5, p.mean, p.sd})
            table += number(v);
        table += ',' + std::string(outcomeUnit(i)) + '\n';
    }
    out << table;
    out.flush();
    return 0;
}

} // namespace yawmark
