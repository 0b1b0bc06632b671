# The two commands of the README. Both install what is missing first.
BUILD ?= build

.PHONY: test run build bench clean
test:
	bash tools/run-tests.sh $(BUILD)

run:
	bash tools/run-demo.sh $(BUILD)

build:
	bash tools/build.sh $(BUILD)

# Figures, not verdicts: start-up against notepad.exe, refresh, discovery and every tools/bench-*.sh.
bench:
	bash tools/bench.sh $(BUILD)

clean:
	rm -rf $(BUILD)
