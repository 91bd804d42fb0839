// The CGNS library, opened when the first CGNS file is read. It brings HDF5 and some thirty
// libraries with it; linked to the program, they would be loaded at every start, which costs
// a command on a small file more time than the file itself.
#pragma once
#include <cgns_io.h>
#include <cgnslib.h>

namespace corvane {

#define CORVANE_CGNS_FUNCTIONS(X)                                                                               \
  X(cg_array_info) X(cg_array_read_as) X(cg_base_read) X(cg_biter_read) X(cg_close) X(cg_configure) X(cg_get_cgio)               \
  X(cg_get_error) X(cg_goto) X(cg_GridLocationName) X(cg_index_dim) X(cg_narrays) X(cg_nbases) X(cg_nsols) X(cg_nzones) X(cg_open)     \
  X(cg_rind_read) X(cg_root_id) X(cg_sol_info) X(cg_zone_read) X(cg_zone_type) X(cgio_children_ids)             \
  X(cgio_close_file) X(cgio_get_dimensions) X(cgio_get_label) X(cgio_get_name) X(cgio_get_node_id)              \
  X(cgio_get_root_id) X(cgio_number_children) X(cgio_open_file) X(cgio_read_all_data_type) X(cgio_release_id)

// The functions the reader uses, under their own names.
struct CgnsLibrary {
#define CORVANE_CGNS_POINTER(name) decltype(&::name) name = nullptr;
  CORVANE_CGNS_FUNCTIONS(CORVANE_CGNS_POINTER)
#undef CORVANE_CGNS_POINTER
};

// The library, opened on first use. Throws CorvaneError naming the library when it cannot be
// opened or lacks a function.
const CgnsLibrary& Cgns();

}  // namespace corvane
