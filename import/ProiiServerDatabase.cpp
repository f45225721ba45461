#include "ProiiServerDatabase.h"

namespace
{
constexpr const char* kClass = "Database";
} // namespace

ProiiServerDatabase::ProiiServerDatabase(SimulationData data, std::string path,
                                         std::shared_ptr<const ProiiServerOptions> options)
    : data_(std::move(data)), path_(std::move(path)), options_(std::move(options))
{
    AddProperty("Status", [this](AutoArgs&) { return AutoVariant(data_.status); });

    AddMethod(
        "GetObjectCount",
        [this](AutoArgs& a) {
            const std::string cls = ObjectClass(Required(a, 0, "GetObjectCount"), "GetObjectCount");
            return AutoVariant(cls == "column" ? static_cast<int>(data_.columns.size()) : StreamCount());
        },
        1, 1);

    AddMethod(
        "GetObjectNames",
        [this](AutoArgs& a) {
            const std::string cls = ObjectClass(Required(a, 0, "GetObjectNames"), "GetObjectNames");
            const int i = Required(a, 1, "GetObjectNames").ToInt();
            const int count = cls == "column" ? static_cast<int>(data_.columns.size()) : StreamCount();
            if (i < 0 || i >= count)
                throw EAutoError(kClass, "GetObjectNames: index " + std::to_string(i) + " is outside 0 to " +
                                             std::to_string(count - 1));
            if (cls == "column") return AutoVariant(data_.columns[static_cast<std::size_t>(i)].name);
            auto it = streams_.begin();
            std::advance(it, i);
            return AutoVariant(it->second->name);
        },
        2, 2);

    AddMethod(
        "CalculateUnitProps",
        [this](AutoArgs& a) {
            const SimColumn& c = Column(Required(a, 0, "CalculateUnitProps"), "CalculateUnitProps");
            unitPropsDone_.insert(AutoFoldCase(c.name));
            return AutoVariant(1);
        },
        1, 1);

    AddMethod(
        "ActivateObject",
        [this](AutoArgs& a) -> AutoVariant {
            const AutoVariant& type = Required(a, 0, "ActivateObject");
            const AutoVariant& name = Required(a, 1, "ActivateObject");
            const std::string cls = AutoFoldCase(type.ToString());
            if (cls == "column" || cls == "columnin") {
                const SimColumn& c = Column(name, "ActivateObject");
                // Unit results are only available once they were calculated.
                if (!unitPropsDone_.count(AutoFoldCase(c.name)))
                    throw EAutoError(kClass, "ActivateObject: the unit properties of \"" + c.name +
                                                 "\" are not calculated; call CalculateUnitProps first");
                if (cls == "column")
                    return AutoVariant(AutoObjectPtr(std::make_shared<ProiiColumnObject>(c, options_)));
                return AutoVariant(AutoObjectPtr(std::make_shared<ProiiColumnInObject>(c, options_)));
            }
            if (cls == "stream")
                return AutoVariant(AutoObjectPtr(
                    std::make_shared<ProiiStreamObject>(Stream(name, "ActivateObject"), options_)));
            if (cls == "srbulkprop")
                return AutoVariant(AutoObjectPtr(
                    std::make_shared<ProiiBulkPropObject>(Stream(name, "ActivateObject"), options_)));
            throw EAutoError(kClass, "ActivateObject: unknown object class \"" + type.ToString() + "\"");
        },
        2, 2);

    AddMethod(
        "CreateObject",
        [this](AutoArgs& a) {
            const std::string type = Required(a, 0, "CreateObject").ToString();
            const std::string name = Required(a, 1, "CreateObject").ToString();
            if (AutoFoldCase(type) != "stream")
                throw EAutoError(kClass, "CreateObject: objects of class \"" + type + "\" cannot be created");
            if (name.empty()) throw EAutoError(kClass, "CreateObject: a stream needs a name");
            auto stream = std::make_shared<ProiiStreamData>();
            stream->name = name;
            streams_[AutoFoldCase(name)] = stream;
            return AutoVariant(1);
        },
        2, 2);

    AddMethod(
        "CopyTrayToStream",
        [this](AutoArgs& a) {
            const SimColumn& c = Column(Required(a, 0, "CopyTrayToStream"), "CopyTrayToStream");
            const int tray = Required(a, 1, "CopyTrayToStream").ToInt();
            const int phase = Required(a, 2, "CopyTrayToStream").ToInt();
            const int basis = Required(a, 3, "CopyTrayToStream").ToInt();
            const int content = Required(a, 4, "CopyTrayToStream").ToInt();
            auto stream = Stream(Required(a, 5, "CopyTrayToStream"), "CopyTrayToStream");
            const SimTray* t = c.Tray(tray);
            if (!t)
                throw EAutoError(kClass, "CopyTrayToStream: column \"" + c.name + "\" has no tray " +
                                             std::to_string(tray) + " (its trays are 1 to " +
                                             std::to_string(c.numberOfTrays) + ")");
            if (phase != 1 && phase != 2)
                throw EAutoError(kClass, "CopyTrayToStream: phase " + std::to_string(phase) +
                                             " is neither 1 (vapour) nor 2 (liquid)");
            if (basis != 0 || content != 2)
                throw EAutoError(kClass, "CopyTrayToStream: only the tray's net product (0) with rate and "
                                         "conditions (2) can be copied");
            stream->filled = true;
            stream->calculated = false;
            stream->phase = phase;
            stream->column = c.name;
            stream->tray = *t;
            return AutoVariant(1);
        },
        6, 6);

    AddMethod(
        "CalculateStreamProps",
        [this](AutoArgs& a) {
            auto stream = Stream(Required(a, 0, "CalculateStreamProps"), "CalculateStreamProps");
            if (!stream->filled)
                throw EAutoError(kClass,
                                 "CalculateStreamProps: stream \"" + stream->name + "\" holds no material");
            stream->calculated = true;
            return AutoVariant(1);
        },
        1, 1);

    AddMethod(
        "DeleteObject",
        [this](AutoArgs& a) {
            const std::string type = Required(a, 0, "DeleteObject").ToString();
            if (AutoFoldCase(type) != "stream")
                throw EAutoError(kClass, "DeleteObject: objects of class \"" + type + "\" cannot be deleted");
            auto stream = Stream(Required(a, 1, "DeleteObject"), "DeleteObject");
            streams_.erase(AutoFoldCase(stream->name));
            return AutoVariant(1);
        },
        2, 2);
}

int ProiiServerDatabase::StreamCount() const
{
    return static_cast<int>(streams_.size());
}

std::string ProiiServerDatabase::ObjectClass(const AutoVariant& v, const std::string& member)
{
    const std::string cls = AutoFoldCase(v.ToString());
    if (cls != "column" && cls != "stream")
        throw EAutoError(kClass, member + ": unknown object class \"" + v.ToString() + "\"");
    return cls;
}

const SimColumn& ProiiServerDatabase::Column(const AutoVariant& name, const std::string& member) const
{
    const SimColumn* c = data_.Column(name.ToString());
    if (!c)
        throw EAutoError(kClass, member + ": the simulation \"" + path_ + "\" has no column \"" +
                                     name.ToString() + "\"");
    return *c;
}

std::shared_ptr<ProiiStreamData> ProiiServerDatabase::Stream(const AutoVariant& name,
                                                             const std::string& member) const
{
    auto it = streams_.find(AutoFoldCase(name.ToString()));
    if (it == streams_.end())
        throw EAutoError(kClass, member + ": there is no stream \"" + name.ToString() + "\"");
    return it->second;
}
