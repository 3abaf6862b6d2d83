#include "app/startup/QtTranslations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

#include <gtest/gtest.h>

TEST(QtTranslations, QtsOwnDialogsSpeakRussian)
{
    const QLocale before;
    QTranslator* translator = app::InstallQtTranslations(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr) << "Qt's Russian translations are not installed";
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Open"), QStringLiteral("Открыть"));
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("Печать"));
    EXPECT_EQ(QLocale().language(), QLocale::Russian);
    QCoreApplication::removeTranslator(translator);
    delete translator;
    QLocale::setDefault(before);
}
