# The program's artwork is drawn as SVG and shipped as PNG: a renderer that
# runs on the build machine turns each picture into PNG files at one and two
# times its size, which the windows load from the Qt resources under
# :/artwork/ (name.png and name@2x.png), and turns the program icon into a
# Windows icon file. The program needs no SVG renderer of its own, which a
# static Windows build does not have.

# The renderer is built with the build machine's compiler and Qt Svg: in a
# native build as a target of this build, in a cross build as a project of
# its own beside it.
function(quill_artwork_renderer out_var)
  set(source "${PROJECT_SOURCE_DIR}/tools/render_artwork")
  if(NOT CMAKE_CROSSCOMPILING)
    if(NOT TARGET quillmere-render-artwork)
      add_subdirectory("${source}" "${PROJECT_BINARY_DIR}/render_artwork")
    endif()
    set(${out_var} "$<TARGET_FILE:quillmere-render-artwork>" PARENT_SCOPE)
    set(QUILL_ARTWORK_RENDERER_TARGET quillmere-render-artwork PARENT_SCOPE)
    return()
  endif()
  include(ExternalProject)
  set(binary "${PROJECT_BINARY_DIR}/render_artwork-host")
  if(NOT TARGET render_artwork_host)
    ExternalProject_Add(render_artwork_host
      SOURCE_DIR "${source}"
      BINARY_DIR "${binary}"
      CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
                 "-DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER}"
      INSTALL_COMMAND ""
      BUILD_BYPRODUCTS "${binary}/quillmere-render-artwork")
  endif()
  set(${out_var} "${binary}/quillmere-render-artwork" PARENT_SCOPE)
  set(QUILL_ARTWORK_RENDERER_TARGET render_artwork_host PARENT_SCOPE)
endfunction()

# quill_artwork(TARGET svg...): the pictures as resources of TARGET.
function(quill_artwork target)
  quill_artwork_renderer(renderer)
  set(folder "${CMAKE_CURRENT_BINARY_DIR}/artwork")
  set(files)
  foreach(svg IN LISTS ARGN)
    get_filename_component(name "${svg}" NAME_WLE)
    foreach(scale 1 2)
      set(suffix "")
      if(scale GREATER 1)
        set(suffix "@${scale}x")
      endif()
      set(png "${folder}/${name}${suffix}.png")
      add_custom_command(OUTPUT "${png}"
        COMMAND "${CMAKE_COMMAND}" -E make_directory "${folder}"
        COMMAND "${renderer}" "${svg}" "${png}" ${scale}
        DEPENDS "${svg}" ${QUILL_ARTWORK_RENDERER_TARGET}
        COMMENT "Rendering ${name}${suffix}.png" VERBATIM)
      list(APPEND files "${png}")
    endforeach()
  endforeach()
  qt_add_resources(${target} quillmere_artwork PREFIX /artwork BASE "${folder}" FILES ${files})
endfunction()

# quill_program_icon(TARGET svg): on Windows, the picture as the program's
# icon, which Explorer, the taskbar and the Start menu show.
function(quill_program_icon target svg)
  if(NOT WIN32)
    return()
  endif()
  quill_artwork_renderer(renderer)
  set(icon "${CMAKE_CURRENT_BINARY_DIR}/${target}.ico")
  set(resource "${CMAKE_CURRENT_BINARY_DIR}/${target}_icon.rc")
  add_custom_command(OUTPUT "${icon}"
    COMMAND "${renderer}" "${svg}" "${icon}"
    DEPENDS "${svg}" ${QUILL_ARTWORK_RENDERER_TARGET}
    COMMENT "Rendering ${target}.ico" VERBATIM)
  file(WRITE "${resource}" "1 ICON \"${icon}\"\n")
  set_source_files_properties("${resource}" PROPERTIES OBJECT_DEPENDS "${icon}")
  target_sources(${target} PRIVATE "${resource}" "${icon}")
endfunction()
