// The extension module `corvane._corvane`: the error type, the headless GUI application the text
// of the pictures needs, and the bindings of the data set, the pictures and the geometry.
#include <QGuiApplication>
#include <string>

#include "readers/CgnsProcess.h"
#include "base/Errors.h"
#include "python/PyDataSet.h"
#include "scene/DesktopIntegration.h"

namespace {

// Qt keeps the arguments for the application's life, which is the interpreter's.
int argumentCount = 3;
char argument0[] = "corvane";
char argument1[] = "-platform";
char argument2[] = "offscreen";
char* arguments[] = {argument0, argument1, argument2, nullptr};

// Text is drawn with QPainter on images, which needs a GUI application; a script has none, so one
// is made once, without a display. An application the host already runs (a Qt notebook backend)
// is used as it is. It is never destroyed: the interpreter's exit would tear it down too late.
void EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  corvane::EnsureRuntimeDir();
  new QGuiApplication(argumentCount, arguments);
}

}  // namespace

PYBIND11_MODULE(_corvane, m) {
  namespace py = pybind11;
  m.doc() = "Corvane: read, draw, sample and trace 2-D field data on structured multi-zone grids.";
  py::register_exception<corvane::CorvaneError>(m, "Error", PyExc_ValueError);
  EnsureGuiApplication();
  m.attr("__version__") = CORVANE_VERSION;
  m.def("_set_cgns_reader", &corvane::SetCgnsReaderProgram, py::arg("path"));
  corvane::BindDataSet(m);
  corvane::BindPictures(m);
  corvane::BindGeometry(m);
}
