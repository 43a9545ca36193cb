# Rules and screens are kept apart by the build. A rules target (the package's data part,
# platform, every <subsistema>/reglas/) links no Qt Widgets, and pos_reglas(target) makes it
# refuse to compile:
#  - any widget header: cmake/reglas/ comes first in its include path, and its
#    QtWidgets/qtwidgetsglobal.h, which every widget header includes, is an #error;
#  - any screen header (package/ui/*.h, a subsystem's headers outside reglas/): a shadow of the
#    same relative path, generated here, comes before the real one and is an #error too.
# At generate time it also checks that nothing the target links brings Qt Widgets in.

set(POS_SOMBRAS ${CMAKE_BINARY_DIR}/sombrasPantallas)

# Shadows of every screen header, made anew at each configure so moved headers leave none
# behind. Subsystem headers are reached as "<subsistema>/X.h", the package's as "ui/X.h".
function(pos_sombras_pantallas)
  file(REMOVE_RECURSE ${POS_SOMBRAS})
  file(GLOB _ui CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/package
       ${CMAKE_SOURCE_DIR}/package/ui/*.h)
  set(_todas ${_ui})
  foreach(s ${ARGN})
    if(EXISTS ${CMAKE_SOURCE_DIR}/${s})
      file(GLOB_RECURSE _h CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/${s}/*.h)
      list(FILTER _h EXCLUDE REGEX "^${s}/reglas/")
      list(APPEND _todas ${_h})
    endif()
  endforeach()
  foreach(h ${_todas})
    file(WRITE ${POS_SOMBRAS}/${h}
         "#error \"Las reglas no pueden incluir pantallas (${h}): responden un resultado y la pantalla lo muestra\"\n")
  endforeach()
endfunction()

# Whether `item` (a target or a link item) brings Qt Widgets in, following linked targets.
function(_pos_trae_widgets item salida visitados)
  set(${salida} FALSE PARENT_SCOPE)
  if(item MATCHES "Qt6?::Widgets")
    set(${salida} TRUE PARENT_SCOPE)
    return()
  endif()
  string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" item "${item}")
  if(NOT TARGET "${item}" OR "${item}" IN_LIST ${visitados})
    return()
  endif()
  list(APPEND ${visitados} "${item}")
  set(${visitados} ${${visitados}} PARENT_SCOPE)
  get_target_property(_tipo ${item} TYPE)
  set(_libs)
  get_target_property(_interfaz ${item} INTERFACE_LINK_LIBRARIES)
  if(_interfaz)
    list(APPEND _libs ${_interfaz})
  endif()
  get_target_property(_importado ${item} IMPORTED)
  if(NOT _importado AND NOT _tipo STREQUAL "INTERFACE_LIBRARY")
    get_target_property(_propias ${item} LINK_LIBRARIES)
    if(_propias)
      list(APPEND _libs ${_propias})
    endif()
  endif()
  foreach(l ${_libs})
    _pos_trae_widgets("${l}" _trae ${visitados})
    set(${visitados} ${${visitados}} PARENT_SCOPE)
    if(_trae)
      set(${salida} TRUE PARENT_SCOPE)
      return()
    endif()
  endforeach()
endfunction()

function(_pos_revisa_reglas target)
  set(_visitados)
  _pos_trae_widgets(${target} _trae _visitados)
  if(_trae)
    message(FATAL_ERROR "${target} es un destino de reglas y enlaza Qt Widgets: las reglas no "
                        "pueden ver widgets (vea docs/arquitectura.md)")
  endif()
endfunction()

function(pos_reglas target)
  target_include_directories(${target} BEFORE PRIVATE ${CMAKE_SOURCE_DIR}/cmake/reglas
                                                      ${POS_SOMBRAS})
  # Checked once every target is declared, so links added after this call count too (the
  # deferred call reads its arguments when it runs, hence the EVAL that writes the name in).
  cmake_language(EVAL CODE
                 "cmake_language(DEFER DIRECTORY [[${CMAKE_SOURCE_DIR}]] CALL _pos_revisa_reglas [[${target}]])")
endfunction()
