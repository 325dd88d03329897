#include "serial/PortList.h"

#include <QSerialPortInfo>
#include <gtest/gtest.h>

TEST(PortList, KeepsWhatTheListHeldAndAddsEachPortOnce) {
    QStringList list{"COM1"};
    FillPortList(list);
    const QStringList first = list;
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(first.front(), "COM1");
    EXPECT_EQ(first.size(), 1 + QSerialPortInfo::availablePorts().size() -
                                (QSerialPortInfo(QStringLiteral("COM1")).isNull() ? 0 : 1));

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
