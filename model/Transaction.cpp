#include "model/Transaction.h"

#include <exception>

#include "model/GenericProtocol.h"
#include "model/Parameter.h"

ParameterTransaction::~ParameterTransaction()
{
    // A destructor may run while an exception unwinds; a failure of an observer
    // while reverting must not end the program.
    try {
        clear();
    } catch (...) {
    }
}

void ParameterTransaction::commit()
{
    std::map<GenericProtocol*, ParameterValueMap> batches;
    for (const auto& [protocol, parameters] : entries_) {
        ParameterValueMap& batch = batches[protocol];
        for (const ControlParameter* parameter : parameters)
            batch[parameter->id()] = parameter->value();
    }
    for (const auto& [protocol, batch] : batches)
        protocol->setValues(batch, 0);
    entries_.clear();
}

void ParameterTransaction::clear()
{
    // Take the entries first so that an observer reacting to a revert sees an
    // empty transaction; revert every parameter even when one observer fails.
    const auto entries = std::move(entries_);
    entries_.clear();
    std::exception_ptr failure;
    for (const auto& [protocol, parameters] : entries) {
        for (ControlParameter* parameter : parameters) {
            try {
                parameter->revert();
            } catch (...) {
                if (!failure)
                    failure = std::current_exception();
            }
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}

int ParameterTransaction::add(Subject* changed)
{
    auto* parameter = dynamic_cast<ControlParameter*>(changed);
    if (parameter == nullptr)
        return 0;
    std::list<ControlParameter*>& parameters = entries_[parameter->owner()];
    parameters.push_back(parameter);
    return static_cast<int>(parameters.size());
}
