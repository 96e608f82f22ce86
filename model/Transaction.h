#pragma once

#include <list>
#include <map>

class ControlParameter;
class GenericProtocol;
class Subject;

// A batch of changes made by one user action.
class Transaction {
public:
    virtual ~Transaction() = default;
    virtual void commit() = 0;
    virtual void clear() = 0;
    // Records a changed object; returns the length of the batch it joined.
    virtual int add(Subject* changed) = 0;
};

// Control-parameter changes grouped by owning protocol. commit sends one batch
// per protocol; a transaction that ends without a successful commit puts the
// pending values of its parameters back to their current values. Nothing is
// ever undone on the unit.
class ParameterTransaction : public Transaction {
public:
    ParameterTransaction() = default;
    ParameterTransaction(const ParameterTransaction&) = delete;
    ParameterTransaction& operator=(const ParameterTransaction&) = delete;
    ~ParameterTransaction() override;

    // Sends every batch with delay 0, then empties the transaction. A protocol
    // failure ends it at once and leaves the entries for clear to revert.
    void commit() override;
    // Reverts every parameter, in order, and forgets them.
    void clear() override;
    // Only control parameters join; anything else is ignored and gives 0.
    int add(Subject* changed) override;

    bool empty() const { return entries_.empty(); }

private:
    std::map<GenericProtocol*, std::list<ControlParameter*>> entries_;
};
