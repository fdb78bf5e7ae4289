// SPDX-License-Identifier: MIT
#pragma once

#include <concepts>
#include <string_view>

namespace stepwell {

/// Where converted text goes, a piece at a time: a file being written, text held back until
/// it is complete, a comparison with the original, text in memory. write() takes the next
/// piece, in order; flush() comes once at the end and hands on whatever the sink still holds.
/// Both throw Error when the text cannot go where it should.
template <class Sink>
concept TextSink = requires(Sink& sink, std::string_view text) {
    sink.write(text);
    sink.flush();
};

/// A sink that passes every piece to two others, in the order given: a result written and
/// compared with the original at once.
template <TextSink First, TextSink Second> class BothSinks {
public:
    BothSinks(First& first, Second& second) : first_(first), second_(second) {}
    void write(std::string_view text) {
        first_.write(text);
        second_.write(text);
    }
    void flush() {
        first_.flush();
        second_.flush();
    }

private:
    First& first_;
    Second& second_;
};

} // namespace stepwell
