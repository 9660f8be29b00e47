#pragma once

#include <memory>

class CardDataSource;

// A control that looks up reference data through a data source (the voucher card control).
class DataSourceControl
{
public:
    virtual ~DataSourceControl() = default;
    // The control shares the source; it is the same object for every card of the process.
    virtual void setDataSource(std::shared_ptr<CardDataSource> source) = 0;
};
