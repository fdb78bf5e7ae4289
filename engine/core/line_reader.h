// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace stepwell {

/// The line break a text uses.
enum class LineBreak { None, CrLf, Cr, Lf };

/// The bytes of a line break ("" for None).
std::string_view lineBreakText(LineBreak lineBreak);

/// Where a LineReader gets its bytes: fills the buffer it is given with up to its size in
/// bytes and returns how many, 0 at the end; throws Error when reading fails.
using ByteSource = std::function<std::size_t(char* buffer, std::size_t size)>;

/// Splits a stream of bytes into lines, a buffer at a time.
///
/// A line ends at CR LF, a lone CR or a lone LF; the break is not part of the line. A final
/// break starts no further line, and a last line without one is still a line. A UTF-8
/// byte-order mark at the very start is taken off and remembered.
class LineReader {
public:
    explicit LineReader(ByteSource source);
    /// Reads the lines of `text`, which must outlive the reader.
    static LineReader ofText(std::string_view text);
    ~LineReader();
    LineReader(LineReader&&) noexcept;
    LineReader& operator=(LineReader&&) = delete;

    /// Reads the next line into `line`, which stays valid until the next call. Returns false
    /// at the end of the input. Throws what the source throws.
    bool next(std::string_view& line);

    /// The break that ended the first line, once it has been read; None while no line with a
    /// break has been read.
    LineBreak firstBreak() const { return firstBreak_; }
    /// The break that ended the line read last; None for a last line without one.
    LineBreak lastBreak() const { return lastBreak_; }
    /// Whether the input began with a UTF-8 byte-order mark.
    bool hadByteOrderMark() const { return hadByteOrderMark_; }

private:
    bool fill();
    std::size_t nextBreak();
    void takeByteOrderMark();
    void noteBreak(LineBreak lineBreak);

    ByteSource source_;
    std::unique_ptr<char[]> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    bool started_ = false;
    bool hadByteOrderMark_ = false;
    LineBreak firstBreak_ = LineBreak::None;
    LineBreak lastBreak_ = LineBreak::None;
    // Where the next LF and the next CR lie in the buffer (end_ for none), once looked for.
    static constexpr std::size_t unknown = static_cast<std::size_t>(-1);
    std::size_t nextLf_ = unknown;
    std::size_t nextCr_ = unknown;
    std::string carry_; // a line that spans buffer refills
};

} // namespace stepwell
