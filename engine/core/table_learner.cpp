// SPDX-License-Identifier: MIT
// The search behind learnTagTable. Candidates are the page's own tokens (`<name`, `</name`,
// `</name>`, template tags), tried in moves of one or two entries with deltas +1 and -1 (or
// +2 and -2 for a pair).
// Each candidate table is judged by converting the pages with the real indenter, so what the
// search improves is what a conversion does. A greedy pass first adds the move that best
// matches the author's changes of level from line to line (a wrong entry then costs only the
// lines it touches), reading the page by its structure before anything else: each element's
// opening and closing tags as a pair at +1 and -1, and template blocks. Then exact levels
// decide among adds and removals, and raw blocks are tried last and kept only where they help.
// A second search also tries single tags and pairs at +2 and -2 once the structure is read;
// its table is taken only where it reproduces more of the pages' lines, as a table read by
// structure alone serves the other pages of a site better.
#include "engine/core/table_learner.h"

#include "engine/core/candidate_tokens.h"
#include "engine/core/element_kins.h"
#include "engine/core/table_layout.h"
#include "frame/text/ascii.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace stepwell {
namespace {

using Entry = LearnedEntry;

using Move = std::vector<Entry>;

struct Score {
    double changes = 0;
    double exact = 0;
};

enum class Key { Changes, Exact };

bool better(const Score& a, const Score& b, Key key) {
    if (key == Key::Changes)
        return a.changes != b.changes ? a.changes > b.changes : a.exact > b.exact;
    return a.exact != b.exact ? a.exact > b.exact : a.changes > b.changes;
}

struct Page {
    PageLines lines;
    IndentProfile profile;
};

class Search {
public:
    explicit Search(std::span<const Page> pages) : pages_(pages) {}

    // The score of a table on every page: the shares of changes and of exact levels, each
    // page weighing the same; nothing when it drifts on a page or is too large.
    std::optional<Score> score(const std::vector<Entry>& chosen) const {
        const auto table = layOutTable(chosen);
        if (!table)
            return std::nullopt;
        Score total;
        for (const Page& page : pages_) {
            const PageFit fit = fitPage(*table, page.lines, page.profile);
            if (fit.drifts)
                return std::nullopt;
            const double counted = static_cast<double>(page.profile.counted);
            total.exact += static_cast<double>(fit.exact) / counted;
            total.changes += counted > 1 ? static_cast<double>(fit.changes) / (counted - 1) : 0;
        }
        return total;
    }

    // Adds moves one at a time, the best first, while one improves the score by `key`.
    // A move rarely gains more after others were taken than it did before, so each round
    // tries the moves in the order of what they gained when last tried, and stops once no
    // move still to try gained more than the best found: most rounds try a handful.
    void addMoves(const std::vector<Move>& moves, Key key) {
        std::vector<double> gained(moves.size(), std::numeric_limits<double>::infinity());
        std::vector<std::size_t> order(moves.size());
        for (;;) {
            for (std::size_t i = 0; i < order.size(); ++i)
                order[i] = i;
            std::stable_sort(order.begin(), order.end(), [&gained](std::size_t a, std::size_t b) {
                return gained[a] > gained[b];
            });
            std::optional<std::size_t> best;
            Score bestScore = current_;
            for (std::size_t i : order) {
                if (best && primary(bestScore, key) - primary(current_, key) > gained[i])
                    break;
                if (!fits(moves[i])) {
                    gained[i] = -std::numeric_limits<double>::infinity();
                    continue;
                }
                const auto tried = score(with(moves[i]));
                gained[i] = tried ? primary(*tried, key) - primary(current_, key)
                                  : -std::numeric_limits<double>::infinity();
                if (tried && better(*tried, bestScore, key)) {
                    best = i;
                    bestScore = *tried;
                }
            }
            if (!best)
                return;
            chosen_ = with(moves[*best]);
            taken_.push_back(moves[*best]);
            current_ = bestScore;
        }
    }

    // Takes out moves that no longer help, the one whose removal scores best first.
    bool removeMoves(Key key) {
        bool removed = false;
        for (;;) {
            std::optional<std::size_t> best;
            Score bestScore = current_;
            for (std::size_t i = 0; i < taken_.size(); ++i) {
                const auto tried = score(without(taken_[i]));
                if (tried && !better(bestScore, *tried, key)) {
                    best = i;
                    bestScore = *tried;
                }
            }
            if (!best)
                return removed;
            chosen_ = without(taken_[*best]);
            taken_.erase(taken_.begin() + static_cast<std::ptrdiff_t>(*best));
            current_ = bestScore;
            removed = true;
        }
    }

    void start() { current_ = *score(chosen_); }

    const Score& current() const { return current_; }

    // What the pages show of the element whose tags `pair` indents: whether the table
    // indents it already (a tag of the pair is chosen), or adding the pair would cost the
    // pages exact levels or changes, or neither.
    ElementUse use(const Move& pair) const {
        if (!fits(pair))
            return ElementUse::Indented;
        return costs(score(with(pair))) ? ElementUse::Flat : ElementUse::Silent;
    }

    // Adds `move` when it costs the pages nothing, neither exact levels nor changes.
    void addIfHarmless(const Move& move) {
        if (!fits(move))
            return;
        const auto tried = score(with(move));
        if (costs(tried))
            return;
        chosen_ = with(move);
        taken_.push_back(move);
        current_ = *tried;
    }
    const std::vector<Entry>& chosen() const { return chosen_; }

private:
    // Whether a table that scores `tried` (nothing when it drifts) loses exact levels or
    // changes against the current one.
    bool costs(const std::optional<Score>& tried) const {
        return !tried || tried->exact < current_.exact || tried->changes < current_.changes;
    }

    // Whether no tag of `move` is chosen already.
    bool fits(const Move& move) const {
        for (const Entry& entry : move)
            for (const Entry& have : chosen_)
                if (have.tag == entry.tag)
                    return false;
        return true;
    }
    std::vector<Entry> with(const Move& move) const {
        std::vector<Entry> entries = chosen_;
        entries.insert(entries.end(), move.begin(), move.end());
        return entries;
    }
    std::vector<Entry> without(const Move& move) const {
        std::vector<Entry> entries;
        for (const Entry& entry : chosen_)
            if (std::find(move.begin(), move.end(), entry) == move.end())
                entries.push_back(entry);
        return entries;
    }

    static double primary(const Score& score, Key key) {
        return key == Key::Changes ? score.changes : score.exact;
    }

    std::span<const Page> pages_;
    std::vector<Entry> chosen_;
    std::vector<Move> taken_;
    Score current_;
};

// A template block's every spelling at +1 and those of its end at -1.
Move blockMove(const std::pair<std::set<std::string>, std::set<std::string>>& spellings) {
    Move move;
    for (const std::string& opening : spellings.first)
        move.push_back({opening, "1"});
    for (const std::string& closing : spellings.second)
        move.push_back({closing, "-1"});
    return move;
}

// The element whose tags `name` (upper-cased) names, at +1 and -1.
Move elementPair(std::string_view name) {
    return {{"<" + std::string(name), "1"}, {"</" + std::string(name), "-1"}};
}

// The moves the tokens of the pages suggest.
struct Moves {
    // An element's opening and closing tags together at +1 and -1, a template block.
    std::vector<Move> structural;
    // Those, then pairs at +2 and -2 and each tag alone.
    std::vector<Move> all;
};

Moves movesOf(const CandidateTokens& tokens) {
    Moves moves;
    std::vector<Move>& structural = moves.structural;
    for (const auto& [opening, closing] : tokens.pairs) {
        structural.push_back({{opening, "1"}, {closing, "-1"}});
        if (closing.starts_with("</"))
            structural.push_back({{opening, "1"}, {closing + ">", "-1"}});
    }
    for (const auto& [word, spellings] : tokens.templateWords)
        if (spellings.first.size() + spellings.second.size() > 2 && !spellings.first.empty())
            structural.push_back(blockMove(spellings));
    moves.all = structural;
    // Some authors indent one element by two steps of their unit.
    for (const auto& [opening, closing] : tokens.pairs)
        moves.all.push_back({{opening, "2"}, {closing, "-2"}});
    for (const std::string& opening : tokens.openings)
        moves.all.push_back({{opening, "1"}});
    for (const std::string& closing : tokens.closings) {
        moves.all.push_back({{closing, "-1"}});
        if (closing.starts_with("</"))
            moves.all.push_back({{closing + ">", "-1"}});
    }
    return moves;
}

// Whether `tag` (upper-cased) occurs anywhere in `lines`, ignoring case.
bool occursIn(const std::string& tag, PageLines lines) {
    const char first = tag.front();
    const bool letter = first >= 'A' && first <= 'Z';
    for (std::string_view line : lines)
        for (std::size_t at = 0; at < line.size(); ++at) {
            if (!letter) {
                at = line.find(first, at);
                if (at == std::string_view::npos)
                    break;
            }
            if (occursAt(line, at, tag))
                return true;
        }
    return false;
}

// Behind `chosen`, while the table has room, a level for each element of the kins the author
// indents (see kinsIndented) whose tags no page uses.
std::vector<Entry> withKins(const std::vector<Entry>& chosen, std::span<const PageLines> pages,
                            const std::vector<bool>& indented) {
    std::vector<Entry> entries = chosen;
    const auto used = [&](const std::string& tag) {
        return std::any_of(entries.begin(), entries.end(),
                           [&tag](const Entry& entry) { return entry.tag == tag; }) ||
               std::any_of(pages.begin(), pages.end(),
                           [&tag](PageLines lines) { return occursIn(tag, lines); });
    };
    const auto fill = [&](const std::string& opening, const std::string& closing) {
        if (used(opening) || used(closing))
            return;
        entries.push_back({opening, "1"});
        entries.push_back({closing, "-1"});
        if (!layOutTable(entries))
            entries.resize(entries.size() - 2);
    };
    const auto kins = elementKins();
    for (std::size_t k = 0; k < kins.size(); ++k)
        if (indented[k])
            for (std::string_view name : kins[k].names)
                fill("<" + std::string(name), "</" + std::string(name));
    // An author who indents one block of a template language indents the others too.
    for (const std::string start : {"{% ", "{%- "}) {
        const bool indents = std::any_of(chosen.begin(), chosen.end(), [&start](const Entry& e) {
            return e.tag.starts_with(start) && e.delta == "1";
        });
        for (const char* word :
             {"IF", "FOR", "BLOCK", "WITH", "MACRO", "CALL", "FILTER", "AUTOESCAPE", "SPACELESS"})
            if (indents)
                fill(start + word, start + "END" + word);
    }
    return entries;
}

// A table the search found, how it scores, and the kins its author indents.
struct Found {
    std::vector<Entry> chosen;
    Score score;
    std::vector<bool> kinIndented;
};

// Goes on with `search`, which has matched the pages' changes of level, among `moves`.
Found finishSearch(Search search, const CandidateTokens& tokens, const std::vector<Move>& moves) {
    for (int round = 0; round < 3; ++round) {
        search.addMoves(moves, Key::Exact);
        if (!search.removeMoves(Key::Exact))
            break;
    }
    std::vector<Move> rawMoves;
    for (const auto& [opener, end] : tokens.rawOpeners)
        rawMoves.push_back({{opener, "raw:" + end}});
    search.addMoves(rawMoves, Key::Exact);
    // The elements the pages use but the search had no reason to take are kept where they
    // cost the pages nothing and their author indents their kin: the site's other pages may
    // need them. Template blocks likewise.
    std::map<std::string, ElementUse> shown;
    for (const ElementKin& kin : elementKins())
        for (std::string_view name : kin.names)
            if (tokens.openings.count("<" + std::string(name)))
                shown[std::string(name)] = search.use(elementPair(name));
    Found found;
    found.kinIndented = kinsIndented(shown);
    for (std::size_t k = 0; k < found.kinIndented.size(); ++k)
        for (std::string_view name : elementKins()[k].names)
            if (found.kinIndented[k] && shown.count(std::string(name)))
                search.addIfHarmless(elementPair(name));
    for (const auto& [word, spellings] : tokens.templateWords)
        if (!spellings.first.empty())
            search.addIfHarmless(blockMove(spellings));
    found.chosen = search.chosen();
    found.score = search.current();
    return found;
}

} // namespace

LearnedTable learnTagTable(std::span<const PageLines> pages) {
    LearnedTable learned;
    std::vector<Page> indented;
    CandidateTokens tokens;
    for (const PageLines& lines : pages) {
        learned.pages.push_back({profileIndentation(lines), {}});
        if (learned.pages.back().profile.indented) {
            indented.push_back({lines, learned.pages.back().profile});
            collectCandidateTokens(lines, tokens);
        }
    }
    Found found;
    if (!indented.empty()) {
        const Moves moves = movesOf(tokens);
        Search structure(indented);
        structure.start();
        structure.addMoves(moves.structural, Key::Changes);
        // Single tags and pairs at +2 and -2 may fit the pages better still, but a table that
        // reads them by their structure serves the site's other pages better: the full search
        // is kept only where it reproduces more lines.
        Search all = structure;
        all.addMoves(moves.all, Key::Changes);
        found = finishSearch(std::move(structure), tokens, moves.structural);
        Found full = finishSearch(std::move(all), tokens, moves.all);
        if (full.score.exact > found.score.exact)
            found = std::move(full);
    }
    const std::vector<Entry>& chosen = found.chosen;
    learned.table = layOutTable(chosen).value_or(TagTable{});
    for (std::size_t i = 0; i < pages.size(); ++i)
        learned.pages[i].fit = fitPage(learned.table, pages[i], learned.pages[i].profile);
    if (learned.pages.empty() || chosen.empty())
        return learned;
    // The elements filled in must not change what the pages get; were a join of texts ever
    // to make one of their tags count, they are left out.
    const auto filled = layOutTable(withKins(chosen, pages, found.kinIndented));
    for (std::size_t i = 0; filled && i < pages.size(); ++i) {
        const PageFit fit = fitPage(*filled, pages[i], learned.pages[i].profile);
        if (fit.exact != learned.pages[i].fit.exact || fit.drifts != learned.pages[i].fit.drifts)
            return learned;
    }
    if (filled)
        learned.table = *filled;
    return learned;
}

} // namespace stepwell
