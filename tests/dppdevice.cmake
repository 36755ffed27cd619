vorna_add_test(vorna_dppdevice_tests
    SOURCES dppdevice/DppWorld.cpp dppdevice/DppLinkTest.cpp dppdevice/DppConnectTest.cpp
            dppdevice/DppAcquisitionTest.cpp dppdevice/DppSelectionTest.cpp
            dppdevice/SimDppTest.cpp
    LIBS vorna_sim_dpp)
