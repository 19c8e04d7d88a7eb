#pragma once

#include <QDate>
#include <QDateEdit>
#include <memory>

#include "datamodel/DataModule.h"

namespace talvor::bench {

// The program after start-up: connected, with the goods and companies its lookups read, and
// one statistics screen whose range is set to the given dates.
template <typename Screen>
struct Program {
    std::unique_ptr<TFrmDataMod> module;
    std::unique_ptr<Screen> screen;

    Program(std::unique_ptr<TFrmDataMod> connected, const QDate& from, const QDate& to)
        : module(std::move(connected)) {
        module->GoodsQ->open();
        module->CompanyQ->open();
        screen = std::make_unique<Screen>();
        screen->template findChild<QDateEdit*>(QStringLiteral("DateTimePicker1"))->setDate(from);
        screen->template findChild<QDateEdit*>(QStringLiteral("DateTimePicker2"))->setDate(to);
    }
};

}  // namespace talvor::bench
