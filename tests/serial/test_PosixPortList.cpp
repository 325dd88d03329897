#include "serial/PortList.h"

#include <QRegularExpression>
#include <QSerialPortInfo>
#include <gtest/gtest.h>

TEST(PortList, KeepsWhatTheListHeldAndAddsEachPortOnce) {
    QStringList list{"COM1"};
    FillPortList(list);
    const QStringList first = list;
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(first.front(), "COM1");
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
        EXPECT_TRUE(first.contains(port.systemLocation())) << port.systemLocation().toStdString();
    }
    for (const QString& name : first) {
        EXPECT_EQ(first
                      .filter(QRegularExpression("^" + QRegularExpression::escape(name) + "$",
                                                 QRegularExpression::CaseInsensitiveOption))
                      .size(),
                  1)
            << name.toStdString();
    }

    FillPortList(list);
    EXPECT_EQ(list, first);
}

TEST(PortList, ANameAlreadyListedInAnotherCaseIsNotAddedAgain) {
    QStringList present;
    FillPortList(present);
    QStringList shouted;
    for (const QString& name : present) {
        shouted.append(name.toUpper());
    }
    QStringList list = shouted;
    FillPortList(list);
    EXPECT_EQ(list, shouted);
}
