# The two commands of the README. Both install what is missing first.
BUILD ?= build

.PHONY: test run build clean
test:
	bash tools/run-tests.sh $(BUILD)

run:
	bash tools/run-demo.sh $(BUILD)

build:
	bash tools/build.sh $(BUILD)

clean:
	rm -rf $(BUILD)
