#pragma once

#include "platform/db/Connection.h"

#include <QString>

// The moving average cost after a receipt of s at price p onto q on hand at
// cost c: (q*c + s*p) / (q + s). With nothing on hand before the receipt, or
// after it, there is no stock to average over: a shortage weighs in as goods
// of negative value (5 short at 10 and 10 in at 4 would cost -2), and zero
// divides by zero. The cost is then p, the price last paid.
double MovingAverageCost(double q, double c, double s, double p);

// The stock records of table storemain, one per goods code (compared as the
// column compares: without regard to case). Every change is written at once,
// inside the caller's transaction, so a document and the stock it moves
// are written together or not at all. A blank goods code names no goods and
// moves nothing; an empty quantity or cost on record reads as 0.
class StockBook {
public:
    explicit StockBook(db::Connection& conn) : conn_(conn) {}

    // Goods come in: quantity added and the cost re-averaged; goods without
    // a record get one holding quantity at price.
    void receive(const QString& code, double quantity, double price);
    // Goods go out: quantity taken away, the cost untouched; goods without a
    // record get one holding -quantity and no cost.
    void issue(const QString& code, double quantity);
    // Undoes the quantity of a line counted before (received: it came in, so
    // it goes out again); the cost stays. Goods without a record are passed over.
    void takeBack(const QString& code, double quantity, bool received);

private:
    struct Record {
        bool found = false;
        double quantity = 0;
        double cost = 0;
    };
    Record read(const QString& code) const;
    void setQuantity(const QString& code, double quantity);

    db::Connection& conn_;
};
