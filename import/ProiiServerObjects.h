#pragma once
// The objects that the simulation database stand-in hands out through
// ActivateObject: a column, the column's feed side ("ColumnIn"), a stream
// and a stream's bulk properties ("SrBulkProp"). Each answers
// GetAttribute(name[, index]); names are matched without regard to case, and
// an attribute the object does not have is an automation error naming it.
//
// Reals come back in single precision unless the server's option
// "DoublePrecision" is "1", as the real server does.

#include <memory>
#include <string>

#include "AutoObject.h"
#include "ProiiServerFile.h"

// Options of one server instance, shared by everything it opened.
struct ProiiServerOptions {
    bool doublePrecision = false;
};

// A stream of the open database: empty after CreateObject, one phase of a
// tray after CopyTrayToStream, with bulk properties after
// CalculateStreamProps.
struct ProiiStreamData {
    std::string name;
    bool filled = false;
    bool calculated = false;
    int phase = 0; // 1 vapour, 2 liquid
    std::string column;
    SimTray tray;
};

class ProiiAttributeObject : public AutoDispatch
{
public:
    ProiiAttributeObject(std::string className, std::shared_ptr<const ProiiServerOptions> options);
    std::string ClassName() const override { return className_; }

protected:
    // The attribute by its folded (lower-case) name; index is the optional
    // second argument. Returns an Empty variant for an unknown attribute.
    virtual AutoVariant Attribute(const std::string& name, const AutoArgs& args) = 0;

    AutoVariant Real(double v) const;
    // The index argument, checked against count.
    int Index(const AutoArgs& args, int count, const std::string& attribute) const;

private:
    std::string className_;
    std::shared_ptr<const ProiiServerOptions> options_;
};

class ProiiColumnObject : public ProiiAttributeObject
{
public:
    ProiiColumnObject(SimColumn column, std::shared_ptr<const ProiiServerOptions> options);

protected:
    AutoVariant Attribute(const std::string& name, const AutoArgs& args) override;

private:
    SimColumn column_;
};

class ProiiColumnInObject : public ProiiAttributeObject
{
public:
    ProiiColumnInObject(SimColumn column, std::shared_ptr<const ProiiServerOptions> options);

protected:
    AutoVariant Attribute(const std::string& name, const AutoArgs& args) override;

private:
    SimColumn column_;
};

class ProiiStreamObject : public ProiiAttributeObject
{
public:
    ProiiStreamObject(std::shared_ptr<const ProiiStreamData> stream,
                      std::shared_ptr<const ProiiServerOptions> options);

protected:
    AutoVariant Attribute(const std::string& name, const AutoArgs& args) override;

private:
    std::shared_ptr<const ProiiStreamData> stream_;
};

class ProiiBulkPropObject : public ProiiAttributeObject
{
public:
    ProiiBulkPropObject(std::shared_ptr<const ProiiStreamData> stream,
                        std::shared_ptr<const ProiiServerOptions> options);

protected:
    AutoVariant Attribute(const std::string& name, const AutoArgs& args) override;

private:
    std::shared_ptr<const ProiiStreamData> stream_;
};
