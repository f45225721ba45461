#include "ProiiServer.h"

#include "AutoRegistry.h"
#include "ProiiServerDatabase.h"

ProiiDatabaseServer::ProiiDatabaseServer() : options_(std::make_shared<ProiiServerOptions>())
{
    AddMethod("Initialize", [this](AutoArgs&) {
        // Databases opened before keep the options they were opened with.
        options_ = std::make_shared<ProiiServerOptions>();
        initialized_ = true;
        return AutoVariant(1);
    });

    AddMethod(
        "SetOption",
        [this](AutoArgs& a) {
            const std::string name = Required(a, 0, "SetOption").ToString();
            const std::string value = Required(a, 1, "SetOption").ToString();
            if (AutoFoldCase(name) != "doubleprecision")
                throw EAutoError(ClassName(), "SetOption: unknown option \"" + name + "\"");
            if (value != "0" && value != "1")
                throw EAutoError(ClassName(), "SetOption: the option \"" + name +
                                                  "\" takes \"0\" or \"1\", not \"" + value + "\"");
            options_->doublePrecision = value == "1";
            return AutoVariant(1);
        },
        2, 2);

    AddMethod(
        "OpenDatabase",
        [this](AutoArgs& a) {
            const std::string path = Required(a, 0, "OpenDatabase").ToString();
            if (!initialized_)
                throw EAutoError(ClassName(),
                                 "OpenDatabase: the server is not initialised; call Initialize first");
            try {
                SimulationData data = ReadSimulationFile(path);
                return AutoVariant(
                    AutoObjectPtr(std::make_shared<ProiiServerDatabase>(std::move(data), path, options_)));
            } catch (const EAutoError&) {
                throw;
            } catch (const EVelkError& e) {
                throw EAutoError(ClassName(), e.what());
            }
        },
        1, 1);
}

void RegisterProiiServerComponent()
{
    AutoRegistry& registry = AutoRegistry::Instance();
    if (registry.IsRegistered(ProiiDatabaseServer::ProgId())) return;
    registry.RegisterClass(ProiiDatabaseServer::ProgId(),
                           [] { return AutoObjectPtr(std::make_shared<ProiiDatabaseServer>()); });
}
