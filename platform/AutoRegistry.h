#pragma once
// Class registry and running-object table of the automation layer, the
// stand-ins for the COM class store (CreateOleObject) and the running object
// table (GetActiveOleObject).
//
// Class registry: a program identifier such as "Excel.Application" or
// "SimSciDbs.Database.9" names a factory that makes a new instance. Program
// identifiers are matched without regard to case. A server component
// registers itself once (for instance from a start-up function); the
// simulator import lists the registered identifiers to find a versioned one
// (ProgIds()).
//
// Running-object table: an instance that is "running" (started by the user,
// not by an automation client) is entered under its program identifier;
// GetActiveObject returns it, and an automation client that attaches to it
// leaves it running when the client's references go. An entry holds a strong
// reference, as the COM table does, until it is revoked.
//
// Extension point for instances in other processes: a running-object
// provider registered for a program identifier is asked by GetActiveObject
// when the table holds no in-process entry. A provider returns an object or
// nullptr (no instance running); the object it returns may be a proxy whose
// Invoke forwards the call, for instance over a QLocalSocket named after the
// program identifier, to a server process that answers with the result and
// the new values of the by-reference arguments. The layer itself stays
// synchronous: a proxy blocks until the answer comes.
//
// All functions are for the GUI thread, like COM's single-threaded apartment.

#include <functional>
#include <string>
#include <vector>

#include "AutoObject.h"

class AutoRegistry
{
public:
    using Factory = std::function<AutoObjectPtr()>;
    using Provider = std::function<AutoObjectPtr()>;

    // The process-wide registry.
    static AutoRegistry& Instance();

    // Registers (or replaces) the factory of a program identifier.
    void RegisterClass(const std::string& progId, Factory factory);
    void UnregisterClass(const std::string& progId);
    bool IsRegistered(const std::string& progId) const;
    // The registered identifiers, as spelt at registration, sorted.
    std::vector<std::string> ProgIds() const;

    // A new instance; EAutoError "Invalid class string" when the identifier
    // is not registered, or the factory's own error.
    AutoObjectPtr CreateObject(const std::string& progId) const;

    // Running-object table.
    void RegisterActiveObject(const std::string& progId, AutoObjectPtr object);
    void RevokeActiveObject(const std::string& progId);
    void RegisterActiveProvider(const std::string& progId, Provider provider);
    void RevokeActiveProvider(const std::string& progId);
    // The running instance; EAutoError "Operation unavailable" when none runs.
    AutoObjectPtr GetActiveObject(const std::string& progId) const;
    // The running instance or nullptr, without an error.
    AutoObjectPtr FindActiveObject(const std::string& progId) const;

private:
    AutoRegistry() = default;
    struct ClassEntry {
        std::string progId;
        Factory factory;
    };
    std::vector<std::pair<std::string, ClassEntry>> classes_;    // folded id -> entry
    std::vector<std::pair<std::string, AutoObjectPtr>> running_; // folded id -> object
    std::vector<std::pair<std::string, Provider>> providers_;    // folded id -> provider
};

// Delphi-style shorthands on the process-wide registry.
inline AutoObjectPtr CreateOleObject(const std::string& progId)
{
    return AutoRegistry::Instance().CreateObject(progId);
}
inline AutoObjectPtr GetActiveOleObject(const std::string& progId)
{
    return AutoRegistry::Instance().GetActiveObject(progId);
}
