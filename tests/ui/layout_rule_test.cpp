// SPDX-License-Identifier: MIT
#include "tests/ui/suite.h"
#include "ui/layout_rule.h"

#include <QTest>

namespace stepwell {

class LayoutRuleTest : public QObject {
    Q_OBJECT
private slots:
    void designSizeGivesTheDesignGeometry() {
        ResizableControls controls;
        applyLayoutRule(controls, 3900, 3400);
        QCOMPARE(controls.folderList, design::folderList);
        QCOMPARE(controls.patternBox, design::patternBox);
        // The file list alone ends 10 twips below the pattern box's top, as the rule says.
        QCOMPARE(controls.fileList, (TwipsRect{1920, 480, 1815, 2170}));
    }

    void widthOf3900IsAlreadyWide() {
        ResizableControls controls;
        applyLayoutRule(controls, 6000, 3400);
        applyLayoutRule(controls, 3900, 3400);
        QCOMPARE(controls.folderList.width, 1695.0f);
        QCOMPARE(controls.fileList.left, 1920.0f);
        QCOMPARE(controls.fileList.width, 1815.0f);
        QCOMPARE(controls.patternBox.left, 1920.0f);
        QCOMPARE(controls.patternBox.width, 1815.0f);
    }

    void extraWidthIsSharedAQuarterToThreeQuarters() {
        ResizableControls controls;
        applyLayoutRule(controls, 3900 + 2000, 3400);
        QCOMPARE(controls.folderList.width, 2195.0f);
        QCOMPARE(controls.fileList.left, 2420.0f);
        QCOMPARE(controls.fileList.width, 3315.0f);
        QCOMPARE(controls.patternBox.left, 2420.0f);
        QCOMPARE(controls.patternBox.width, 3315.0f);
        // The file list's right edge stays 45 twips beyond the folder list's share.
        QCOMPARE(controls.fileList.left + controls.fileList.width, 5735.0f);
    }

    void shrinkingBelow3900KeepsTheHorizontalGeometry() {
        ResizableControls controls;
        applyLayoutRule(controls, 5900, 3400);
        const ResizableControls wide = controls;
        applyLayoutRule(controls, 2000, 3400);
        QCOMPARE(controls, wide);
        applyLayoutRule(controls, 3899, 5000);
        QCOMPARE(controls.fileList.left, wide.fileList.left);
        QCOMPARE(controls.fileList.width, wide.fileList.width);
        QCOMPARE(controls.folderList.height, 4000.0f); // heights still follow
    }

    void heightThresholds_data() {
        QTest::addColumn<float>("height");
        QTest::addColumn<float>("folderHeight");
        QTest::addColumn<float>("fileHeight");
        QTest::addColumn<float>("patternTop");
        const float dir = design::folderList.height, file = design::fileList.height,
                    box = design::patternBox.top;
        QTest::newRow("760: nothing moves") << 760.0f << dir << file << box;
        QTest::newRow("761: the pattern box moves") << 761.0f << dir << file << 1.0f;
        QTest::newRow("1000: still only the box") << 1000.0f << dir << file << 240.0f;
        QTest::newRow("1001: the folder list follows") << 1001.0f << 1.0f << file << 241.0f;
        QTest::newRow("1230: not yet the file list") << 1230.0f << 230.0f << file << 470.0f;
        QTest::newRow("1231: all three") << 1231.0f << 231.0f << 1.0f << 471.0f;
        QTest::newRow("5000") << 5000.0f << 4000.0f << 3770.0f << 4240.0f;
    }
    void heightThresholds() {
        QFETCH(float, height);
        QFETCH(float, folderHeight);
        QFETCH(float, fileHeight);
        QFETCH(float, patternTop);
        ResizableControls controls;
        applyLayoutRule(controls, 3000, height); // narrow: only the vertical rules act
        QCOMPARE(controls.folderList.height, folderHeight);
        QCOMPARE(controls.fileList.height, fileHeight);
        QCOMPARE(controls.patternBox.top, patternTop);
        QCOMPARE(controls.fileList.left, design::fileList.left);
        QCOMPARE(controls.folderList.top, design::folderList.top);
    }
};

STEPWELL_REGISTER_TEST(LayoutRuleTest)

} // namespace stepwell

#include "layout_rule_test.moc"
