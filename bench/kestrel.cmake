vorna_add_bench(vorna_kestrel_bench SOURCES KestrelUploadBench.cpp LIBS vorna_sim_kestrel)
# The UI thread's longest stall while a Kestrel connects and while menus open mid-acquisition.
vorna_add_bench(vorna_kestrel_stall_bench SOURCES KestrelStallBench.cpp
    LIBS vorna_appcore vorna_sim_kestrel)
