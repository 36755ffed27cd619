vorna_add_test(vorna_kestrel_tests
    SOURCES kestrel/KestrelProtocolTest.cpp kestrel/KestrelLinkTest.cpp kestrel/AcqUploadMathTest.cpp
            kestrel/KestrelAcquisitionTest.cpp kestrel/KestrelFaultTest.cpp
    LIBS vorna_sim_kestrel)
vorna_add_test(vorna_serial_tests
    SOURCES kestrel/TermiosSerialLineTest.cpp
    LIBS vorna_platform_serial)
vorna_add_test(vorna_kestrel_acq_tests
    SOURCES kestrel/CAcqTest.cpp kestrel/CUploadThreadTest.cpp kestrel/RepeatMeasurementTest.cpp
            kestrel/KestrelProgramTest.cpp
    LIBS vorna_acq vorna_appcore vorna_sim_kestrel)
vorna_add_test(vorna_acq_setup_form_tests SOURCES kestrel/AcqSetupFormTest.cpp LIBS vorna_acq)
