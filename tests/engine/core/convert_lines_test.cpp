// SPDX-License-Identifier: MIT
// Whole texts through the line reader, the indenter and the output blocks: documented
// examples, and random files with every kind of line break against the plain model.
#include "engine/core/convert_lines.h"

#include "engine/core/line_error.h"
#include "tests/support/reference_indenter.h"
#include "tests/support/tables.h"
#include "tests/support/temp_dir.h"
#include "tests/support/verify_indent.h"

#include <gtest/gtest.h>
#include <optional>
#include <random>

namespace stepwell {
namespace {

using test::tableOf;

TEST(ConvertLines, DocumentedExamples) {
    // The worked example of the tag rules.
    verifyIndent("<TABLE>\n\t<TR><TD>x</TD></TR>\n</TABLE>\n",
                 "<TABLE>\n  <TR><TD>x</TD></TR>\n\t</TABLE>\n",
                 tableOf({{"<TABLE", "1"}, {"</TABLE", "-1"}, {"<TR", "1"}, {"</TR", "-1"}}));
    // The raw-block example of the user's guide, with the shipped table.
    verifyIndent("<form>\n"
                 "\t<pre>  one\n"
                 "    two\n"
                 "  </pre></form>\n"
                 "<!-- <form>\n"
                 "  -->\n"
                 "<p>after\n",
                 "<form>\n"
                 "  <pre>  one\n"
                 "    two\n"
                 "  </pre></form>\n"
                 "  <!-- <form>\n"
                 "  -->\n"
                 "  <p>after\n",
                 test::shippedTable());
    // Lists and table cells that close and open on one line are written one level out.
    const TagTable lists = tableOf({{"<UL", "1"}, {"<LI", "1"}, {"</LI>", "-1"}, {"</UL", "-1"}});
    verifyIndent("<ul>\n\t<li>a\n\t</li><li>b\n\t</li>\n</ul>\n",
                 "<ul>\n<li>a\n</li><li>b\n</li>\n</ul>\n", lists);
    // The shipped table keeps a script's own indentation, and a page's end tags left out
    // (`<li>`, `<p>`, `<td>`) open no level.
    verifyIndent("<nav>\n\t<ol>\n\t\t<li><p>a\n\t\t<li>b<table><tr><td>x<td>y</table>\n\t</ol>\n"
                 "</nav>\n<script>\n  if (x)\n    y();\n</script>\n",
                 "<nav>\n<ol>\n<li><p>a\n<li>b<table><tr><td>x<td>y</table>\n</ol>\n</nav>\n"
                 "<script>\n  if (x)\n    y();\n</script>\n",
                 test::shippedTable());
}

TEST(ConvertLines, TheExampleProjectTablesIndentTheirTemplates) {
    const auto example = [](const std::string& name) {
        const std::string path = STEPWELL_SOURCE_DIR "/examples/" + name;
        return parseTagTable(test::readFile(path), path);
    };
    verifyIndent("{% extends \"base.html\" %}\n"
                 "{% block content %}\n"
                 "\t<ul>\n"
                 "\t\t{% for item in items %}\n"
                 "\t\t\t<li>{{ item }}</li>\n"
                 "\t\t{% endfor %}\n"
                 "\t</ul>\n"
                 "{% endblock %}\n",
                 "{% extends \"base.html\" %}\n"
                 "{% block content %}\n"
                 "<ul>\n"
                 "  {% for item in items %}\n"
                 "  <li>{{ item }}</li>\n"
                 "  {% endfor %}\n"
                 "</ul>\n"
                 "{% endblock %}\n",
                 example("django.stepwell-tags"));
    verifyIndent("<ul>\n"
                 "\t<?php foreach ($items as $item): ?>\n"
                 "\t\t<li><?= $item ?></li>\n"
                 "\t<?php endforeach; ?>\n"
                 "</ul>\n",
                 "<ul>\n"
                 "<?php foreach ($items as $item): ?>\n"
                 "<li><?= $item ?></li>\n"
                 "<?php endforeach; ?>\n"
                 "</ul>\n",
                 example("php.stepwell-tags"));
}

TEST(ConvertLines, LineBreaksByteOrderMarkAndLastLine) {
    const TagTable table = tableOf({{"<A", "1"}, {"</A", "-1"}});
    // The first break is used throughout, and a last line gains it.
    verifyIndent("<a>\r\n\tx\r\n</a>\r\n", "<a>\r\nx\n</a>", table);
    verifyIndent("<a>\r\tx\r", "<a>\rx\r\n", table);
    // A byte-order mark stays first and is not part of the first line.
    verifyIndent("\xEF\xBB\xBF<a>\n\tx\n", "\xEF\xBB\xBF  <a>\nx", table);
    verifyIndent("", "", table);
    verifyIndent("\xEF\xBB\xBF", "\xEF\xBB\xBF", table);
}

TEST(ConvertLines, AnErrorNamesTheLine) {
    try {
        convertText("a\nb\n<x>\n", tableOf({{"<X", "x1"}}));
        FAIL() << "no error";
    } catch (const LineError& error) {
        EXPECT_STREQ(error.what(),
                     "line 3: tag \"<X\" has the delta \"x1\", which is not a number");
    }
}

// The real conversion, or nothing for an error, as the model gives it.
std::optional<std::string> realConversion(const std::string& bytes, const TagTable& table) {
    try {
        return convertText(bytes, table);
    } catch (const LineError&) {
        return std::nullopt;
    }
}

TEST(ConvertLines, RandomFilesConvertLikeThePlainModelWithEveryLineBreak) {
    std::mt19937 random(7);
    const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const char* pieces[] = {"<td>", "</td>", "<tr>", "</TR>",   "<<a",     "a>",
                            "  ",   "\t",    "x",    "\r\n",    "\n",      "\r",
                            "\r\n", "\n",    "\r",   "<table>", "</table>"};
    const TagTable shipped = test::shippedTable();
    const TagTable small = tableOf({{"<A", "1"}, {"A>", "-1"}, {"<TD", "1"}, {"</TD", "-1"}});
    for (int file = 0; file < 60; ++file) {
        std::string bytes = below(4) == 0 ? "\xEF\xBB\xBF" : "";
        for (int i = below(400); i > 0; --i) {
            bytes += pieces[below(std::size(pieces))];
            // Some files hold a line longer than the reader's buffer.
            if (file % 10 == 0 && i == 1)
                bytes += std::string(300'000, 'x');
        }
        const TagTable& table = file % 2 ? shipped : small;
        EXPECT_EQ(realConversion(bytes, table), test::refConvert(bytes, test::refEntries(table)))
            << "file " << file;
    }
}

} // namespace
} // namespace stepwell
