# Profile-guided, link-time optimised release engine. A first build of the
# same sources, instrumented, plays a short bench; the real build is then
# compiled with the branch and call counts it measured. The profile is remade
# whenever a source changes, so it always matches the code it guides.
#
# TAVOX_PGO_GENERATE (set only on that first build) names the profile folder.
set(TAVOX_PGO_GENERATE "" CACHE INTERNAL "Profile folder of the instrumented build")

set(TAVOX_PGO_DEFAULT OFF)
if(CMAKE_BUILD_TYPE STREQUAL "Release" AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU"
   AND NOT TAVOX_SANITIZE AND NOT TAVOX_FUZZ AND NOT TAVOX_PGO_GENERATE)
  # Older g++ cannot name the counters relative to the build folder.
  include(CheckCXXCompilerFlag)
  check_cxx_compiler_flag(-fprofile-prefix-path=${CMAKE_BINARY_DIR} TAVOX_PROFILE_PREFIX_PATH)
  if(TAVOX_PROFILE_PREFIX_PATH)
    set(TAVOX_PGO_DEFAULT ON)
  endif()
endif()
option(TAVOX_PGO "Optimise the engine with a profile of its own bench (g++ release builds)" ${TAVOX_PGO_DEFAULT})

# The training run: a bench of a few seconds, for every search path, and a
# short perft, whose counting loop the bench never runs.
set(TAVOX_PGO_TRAINING_DEPTH 6)
set(TAVOX_PGO_PERFT_DEPTH 4)

function(tavox_optimise_engine core engine)
  if(TAVOX_PGO_GENERATE)
    # Counters named by object path below the build folder, as the real build names them.
    set(flags -fprofile-generate=${TAVOX_PGO_GENERATE} -fprofile-update=single
              -fprofile-prefix-path=${CMAKE_BINARY_DIR})
  elseif(TAVOX_PGO)
    set(profile_dir ${CMAKE_BINARY_DIR}/pgo/profile)
    set(train_dir ${CMAKE_BINARY_DIR}/pgo/train)
    set(stamp ${CMAKE_BINARY_DIR}/pgo/profile.stamp)
    cmake_host_system_information(RESULT jobs QUERY NUMBER_OF_LOGICAL_CORES)
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/pgo)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.cpp ${CMAKE_SOURCE_DIR}/src/*.h)
    add_custom_command(
      OUTPUT ${stamp}
      COMMAND ${CMAKE_COMMAND} -E rm -rf ${profile_dir}
      COMMAND ${CMAKE_COMMAND} -S ${CMAKE_SOURCE_DIR} -B ${train_dir} -G ${CMAKE_GENERATOR}
              -DCMAKE_CXX_COMPILER=${CMAKE_CXX_COMPILER} -DCMAKE_BUILD_TYPE=Release
              -DTAVOX_TESTS=OFF -DTAVOX_PGO=OFF -DTAVOX_PGO_GENERATE=${profile_dir}
      # A build of its own, outside the calling make's job server.
      COMMAND ${CMAKE_COMMAND} -E env --unset=MAKEFLAGS --unset=MFLAGS
              ${CMAKE_COMMAND} --build ${train_dir} --target tavox --parallel ${jobs}
      COMMAND ${train_dir}/tavox bench ${TAVOX_PGO_TRAINING_DEPTH}
      COMMAND ${train_dir}/tavox perft ${TAVOX_PGO_PERFT_DEPTH}
      COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
      DEPENDS ${sources} ${CMAKE_SOURCE_DIR}/CMakeLists.txt ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/pgo
      COMMENT "Profiling the engine on its bench"
      VERBATIM)
    add_custom_target(engine_profile DEPENDS ${stamp})
    add_dependencies(${core} engine_profile)
    add_dependencies(${engine} engine_profile)
    get_target_property(core_sources ${core} SOURCES)
    get_target_property(engine_sources ${engine} SOURCES)
    set_source_files_properties(${core_sources} ${engine_sources} PROPERTIES OBJECT_DEPENDS ${stamp})
    # Code the bench never reaches has no counts, which is expected.
    set(flags -fprofile-use=${profile_dir} -fprofile-prefix-path=${CMAKE_BINARY_DIR} -fprofile-correction
              -Wno-missing-profile)
  else()
    return()
  endif()
  target_compile_options(${core} PRIVATE ${flags})
  target_compile_options(${engine} PRIVATE ${flags})
  target_link_options(${engine} PRIVATE ${flags})
  set_target_properties(${core} ${engine} PROPERTIES INTERPROCEDURAL_OPTIMIZATION ON)
endfunction()
