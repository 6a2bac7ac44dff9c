"""A program that ends while daemon threads sit in every kind of wait inside
the module (wait_for_final_state with and without pause, job_monitor
sleeping and polling, a Python polling loop, synchronous runs) and jobs run
or wait in a queue: the interpreter finalizes while those threads are inside the module
without its lock. Run as `python -c PROGRAM VARIANT`; the variant changes
the job lengths, how long the main thread lets the threads start, and
whether it drops its objects before it ends. It prints "main done".

PRINTING_PROGRAM ends the same way while daemon threads print through
Python (job_monitor not quiet, sleeping and polling; drawings; OpenQASM
text; synchronous runs with their time and progress lines) and a worker
prints the progress lines of a queued job."""

import textwrap

PROGRAM = textwrap.dedent("""
    import sys, threading, time
    import TavironLib as tl

    variant = int(sys.argv[1])
    qc = tl.QuantumCircuit(10)
    qc.h(list(range(10)))
    for q in range(9):
        qc.cx(q, q + 1)
    qc.measure_all()
    backend = tl.TavironProvider().get_backend("velmora_taviron")
    running = backend.run(qc, shots=2000 + 500 * variant)
    queued = backend.run(qc, shots=10)
    never = tl.JobV1("never")

    def wait(job, pause):
        job.wait_for_final_state(0, pause, lambda *args: None)

    def monitor(job, interval):
        tl.job_monitor(job, interval, True)

    def poll(job):
        while not job.in_final_state():
            job.status()

    def run_sync():
        # Simulated shot by shot (the reset), without the interpreter lock.
        by_shot = tl.QuantumCircuit(8, 8)
        by_shot.h(list(range(8)))
        by_shot.reset(0)
        for q in range(8):
            by_shot.measure(q, q)
        while True:
            tl.BackendV2().run(by_shot, shots=100, mode="sync")

    targets = [(wait, (j, p)) for j in (never, running, queued) for p in (0, 0.01)]
    targets += [(monitor, (j, i)) for j in (never, running) for i in (0, -1)]
    targets += [(poll, (j,)) for j in (never, queued)]
    targets += [(run_sync, ())] * 2
    for target, args in targets:
        threading.Thread(target=target, args=args, daemon=True).start()
    time.sleep(0.001 * (variant % 20))
    if variant % 3 == 0:
        del backend, running, queued  # end with nothing held but the threads
    print("main done", flush=True)
""")

PRINTING_PROGRAM = textwrap.dedent("""
    import sys, threading, time
    import TavironLib as tl

    variant = int(sys.argv[1])
    qc = tl.QuantumCircuit(6, 6)
    qc.h(0)
    for q in range(5):
        qc.cx(q, q + 1)
    for q in range(6):
        qc.measure(q, q)
    backend = tl.BackendV2()
    # Not quiet: the worker prints a progress line for every gate of every shot.
    running = backend.run(qc, shots=3000, quiet=False)
    never = tl.JobV1("never")

    def monitor(job, interval):
        tl.job_monitor(job, interval, False)

    def draw():
        while True:
            qc.draw()

    def write_qasm():
        while True:
            qc.qasm(formatted=True)

    def run_sync():
        small = tl.QuantumCircuit(2, 2)
        small.h(0)
        small.cx(0, 1)
        while True:
            tl.BackendV2().run(small, shots=3, mode="sync", quiet=False)

    targets = [(monitor, (j, i)) for j in (never, running) for i in (0, -1)]
    targets += [(draw, ()), (write_qasm, ()), (run_sync, ())]
    for target, args in targets:
        threading.Thread(target=target, args=args, daemon=True).start()
    time.sleep(0.001 * (variant % 40))
    if variant % 3 == 0:
        del backend, running
    print("main done", flush=True)
""")
