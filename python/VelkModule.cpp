// velk._core: what the Python package velk (velk/__init__.py) calls. Every
// call runs on the calling thread with the interpreter lock released; the
// engine's state is each thread's own, so threads calculate at once.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <sstream>

#include "CalcPage.h"
#include "PackingCatalogue.h"
#include "VelkCalcPackings.h"
#include "VelkRun.h"
#include "VelkSweep.h"

namespace py = pybind11;

namespace
{

py::tuple Run(const std::vector<std::string>& args)
{
    VelkCalcRun run;
    {
        py::gil_scoped_release release;
        run = RunVelkCalcInProcess(args);
    }
    return py::make_tuple(run.status, py::bytes(run.out), py::bytes(run.err));
}

py::dict Sweep(const std::vector<std::string>& base, const std::string& field,
               const std::vector<std::string>& values)
{
    SweepResult result;
    std::string why;
    {
        py::gil_scoped_release release;
        why = RunSweep(base, field, values, result);
    }
    if (!why.empty()) throw py::value_error(why);
    py::dict out;
    for (std::size_t k = 0; k < result.fields.size(); ++k)
        out[py::str(result.fields[k])] =
            py::array_t<double>(static_cast<py::ssize_t>(values.size()), result.si[k].data());
    py::array_t<bool> completed(static_cast<py::ssize_t>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i)
        completed.mutable_at(i) = result.completed[i];
    out["completed"] = completed;
    out["messages"] = result.messages;
    return out;
}

// The catalogue rows as the grid shows them (the cells' texts by column),
// each with whether it is a user row; with a file, its rows after the
// built-in ones, read as velk-calc --packings reads them.
std::vector<std::pair<std::vector<std::string>, bool>> CatalogueRows(const std::string& file)
{
    if (!file.empty()) {
        std::vector<std::string> args{"--packings", file};
        std::ostringstream err;
        if (!TakePackingsOption(args, err)) throw py::value_error(err.str());
    }
    std::vector<std::pair<std::vector<std::string>, bool>> rows;
    const std::vector<CatalogueRow>& catalogue = PackingCatalogue();
    for (std::size_t i = 0; i < catalogue.size(); ++i)
        rows.emplace_back(std::vector<std::string>(catalogue[i].begin(), catalogue[i].end()), IsUserPacking(i));
    return rows;
}

// The texts of the foaming-factor list, as --foaming takes them.
std::vector<std::string> FoamingItems()
{
    CalcPage page(false);
    return page.Combo("AfD")->Items();
}

} // namespace

PYBIND11_MODULE(_core, m)
{
    m.doc() = "The VELK engine behind the velk package; call velk's functions instead.";
    // pybind11 looks NumPy up once, in a function-local static that imports
    // it: done lazily, a second thread holding the interpreter lock would
    // wait on that static while the first waits for the lock. At import,
    // under the import lock, it happens once and alone.
    py::array_t<double>(0);
    py::array_t<bool>(0);
    m.def("run", &Run, py::arg("args"),
          "Runs velk-calc in this process: (exit status, stdout bytes, stderr bytes).");
    m.def("usage_complaint", &UsageComplaint, py::arg("err"));
    m.def("sweep", &Sweep, py::arg("base"), py::arg("field"), py::arg("values"));
    m.def("catalogue_rows", &CatalogueRows, py::arg("file") = std::string());
    m.def("foaming_items", &FoamingItems);
}
