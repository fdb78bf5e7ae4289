// SPDX-License-Identifier: MIT
#include "frame/startup/display_kind.h"
#include "tests/ui/suite.h"
#include "ui/drives.h"

#include <QTest>

namespace stepwell {

class DrivesTest : public QObject {
    Q_OBJECT
private slots:
    void mountTableGivesTheVolumesAUserBrowses() {
        const char* table = "overlay / overlay rw,relatime 0 0\n"
                            "proc /proc proc rw 0 0\n"
                            "tmpfs /run tmpfs rw 0 0\n"
                            "/dev/sda2 /home ext4 rw 0 0\n"
                            "/dev/sda1 /boot/efi vfat rw 0 0\n"
                            "/dev/loop3 /snap/core/17 squashfs ro 0 0\n"
                            "/dev/sdb1 /media/me/USB\\040KEY vfat rw 0 0\n"
                            "/dev/sdc1 /run/media/me/CARD exfat rw 0 0\n"
                            "server:/export /mnt/share nfs4 rw 0 0\n"
                            "/dev/sda3 /home ext4 rw 0 0\n"
                            "garbage\n";
        const std::vector<Drive> expected{{"/", "overlay", "overlay"},
                                          {"/home", "/dev/sda3", "ext4"},
                                          {"/media/me/USB KEY", "/dev/sdb1", "vfat"},
                                          {"/mnt/share", "server:/export", "nfs4"},
                                          {"/run/media/me/CARD", "/dev/sdc1", "exfat"}};
        QCOMPARE(drivesInMountTable(table), expected);
        // Without any table the root is still there to browse.
        QCOMPARE(drivesInMountTable(""), (std::vector<Drive>{{"/", "", ""}}));
    }

    void aPathBelongsToTheDeepestMountHoldingIt() {
        const std::vector<Drive> drives{{"/", "", ""}, {"/home", "", ""}, {"/home/me/usb", "", ""}};
        QCOMPARE(driveOf(drives, "/etc"), std::size_t{0});
        QCOMPARE(driveOf(drives, "/home"), std::size_t{1});
        QCOMPARE(driveOf(drives, "/home/me"), std::size_t{1});
        QCOMPARE(driveOf(drives, "/homework"), std::size_t{0}); // whole components only
        QCOMPARE(driveOf(drives, "/home/me/usb/docs"), std::size_t{2});
        QVERIFY(isInside("/a/b", "/"));
        QVERIFY(!isInside("/ab", "/a"));
    }

    void thisMachineHasItsRootFirst() {
        const std::vector<Drive> drives = mountedDrives();
        QVERIFY(!drives.empty());
        QCOMPARE(drives.front().mountPath, std::string("/"));
    }

    void displayComesFromTheEnvironment_data() {
        QTest::addColumn<QByteArray>("platform");
        QTest::addColumn<QByteArray>("x11");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<int>("display");
        const int none = int(Display::None), virt = int(Display::Virtual),
                  real = int(Display::Real);
        QTest::newRow("nothing") << QByteArray() << QByteArray() << QByteArray() << none;
        QTest::newRow("empty DISPLAY") << QByteArray() << QByteArray("") << QByteArray() << none;
        QTest::newRow("X") << QByteArray() << QByteArray(":0") << QByteArray() << real;
        QTest::newRow("Wayland") << QByteArray() << QByteArray() << QByteArray("wayland-0") << real;
        QTest::newRow("offscreen")
            << QByteArray("offscreen") << QByteArray(":0") << QByteArray() << virt;
        QTest::newRow("minimal") << QByteArray("minimal") << QByteArray() << QByteArray() << virt;
        QTest::newRow("offscreen with options")
            << QByteArray("offscreen:fontconfig") << QByteArray() << QByteArray() << virt;
        QTest::newRow("vnc chosen") << QByteArray("vnc") << QByteArray() << QByteArray() << real;
    }
    void displayComesFromTheEnvironment() {
        QFETCH(QByteArray, platform);
        QFETCH(QByteArray, x11);
        QFETCH(QByteArray, wayland);
        QFETCH(int, display);
        const auto text = [](const QByteArray& value) {
            return value.isNull() ? nullptr : value.constData();
        };
        QCOMPARE(int(displayFrom(text(platform), text(x11), text(wayland))), display);
    }
};

STEPWELL_REGISTER_TEST(DrivesTest)

} // namespace stepwell

#include "drives_test.moc"
